#include "StdCtrls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

static QString Q(const String& s) { return QString::fromStdString(s); }

TLabel::TLabel(TComponent* owner) : TControl(owner), label_(new QLabel)
{
    label_->setTextFormat(Qt::PlainText);
    SetWidget(label_);
}

void TLabel::SetCaption(const String& text)
{
    caption_ = text;
    // "&&" shows one ampersand; a lone "&" marks a mnemonic.
    QString s = Q(text);
    s.replace("&&", QString(QChar(0xE000)));
    s.remove('&');
    s.replace(QChar(0xE000), "&");
    label_->setText(s);
}

TButton::TButton(TComponent* owner) : TWinControl(owner), button_(new QPushButton)
{
    SetWidget(button_);
    QObject::connect(button_, &QPushButton::clicked, [this] { GuardedCall([this] { Click(); }); });
}

void TButton::SetCaption(const String& text)
{
    caption_ = text;
    button_->setText(Q(text));
}

void TButton::SetDefault(bool d)
{
    button_->setDefault(d);
    button_->setAutoDefault(d);
}

void TButton::Click()
{
    TWinControl::Click();
    if (ModalResult != mrNone) {
        for (TComponent* c = Owner(); c; c = c->Owner())
            if (auto* form = dynamic_cast<TForm*>(c)) {
                form->SetModalResult(ModalResult);
                break;
            }
    }
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner), edit_(new QLineEdit)
{
    SetWidget(edit_);
    SetColor(clWindow);
    QObject::connect(edit_, &QLineEdit::textChanged, [this] { GuardedCall([this] { Fire(OnChange, this); }); });
}

String TEdit::Text() const { return edit_->text().toStdString(); }
void TEdit::SetText(const String& text) { edit_->setText(Q(text)); }
int TEdit::MaxLength() const { return edit_->maxLength(); }
void TEdit::SetMaxLength(int n) { edit_->setMaxLength(n > 0 ? n : 32767); }

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), combo_(new QComboBox)
{
    SetWidget(combo_);
    combo_->setEditable(true);
    items_.OnChange = [this](TObject*) { SyncItems(); };
    QObject::connect(combo_, &QComboBox::activated, [this](int) { GuardedCall([this] { Change(); }); });
}

void TComboBox::SyncItems()
{
    syncing_ = true;
    int keep = combo_->currentIndex();
    combo_->clear();
    for (int i = 0; i < items_.Count(); ++i)
        combo_->addItem(Q(items_[i]));
    combo_->setCurrentIndex(keep < items_.Count() ? keep : -1);
    syncing_ = false;
}

int TComboBox::ItemIndex() const { return combo_->currentIndex(); }

void TComboBox::SetItemIndex(int index)
{
    combo_->setCurrentIndex(index >= 0 && index < items_.Count() ? index : -1);
}

String TComboBox::Text() const { return combo_->currentText().toStdString(); }

void TComboBox::SetText(const String& text)
{
    if (combo_->isEditable())
        combo_->setEditText(Q(text));
    else
        combo_->setCurrentIndex(combo_->findText(Q(text)));
}

void TComboBox::SetStyle(TComboBoxStyle s)
{
    style_ = s;
    combo_->setEditable(s == csDropDown || s == csSimple);
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner), box_(new QGroupBox)
{
    SetWidget(box_);
}

void TGroupBox::SetCaption(const String& text)
{
    caption_ = text;
    box_->setTitle(Q(text));
}
