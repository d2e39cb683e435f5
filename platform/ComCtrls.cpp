#include "ComCtrls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QToolButton>

void TStatusPanel::SetText(const String& text)
{
    text_ = text;
    label_->setText(QString::fromStdString(text));
    label_->repaint();
}

void TStatusPanel::SetWidth(int width)
{
    width_ = width;
    owner_.Arrange();
}

TStatusPanel& TStatusPanels::operator[](int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return *panels_[index];
}

TStatusPanel& TStatusPanels::Add()
{
    auto* label = new QLabel(bar_->Widget());
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setContentsMargins(2, 0, 2, 0);
    panels_.push_back(std::make_unique<TStatusPanel>(*this, label));
    Arrange();
    return *panels_.back();
}

void TStatusPanels::Arrange()
{
    int x = 0;
    int height = bar_->Height();
    for (auto& panel : panels_) {
        panel->label_->setGeometry(x, 0, panel->width_, height);
        panel->label_->setVisible(!bar_->SimplePanel);
        x += panel->width_;
    }
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), label_(new QLabel)
{
    Panels.bar_ = this;
    label_->setTextFormat(Qt::PlainText);
    label_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label_->setContentsMargins(4, 0, 4, 0);
    SetWidget(label_);
    SetHeight(19);
    SetAlign(alBottom);
}

void TStatusBar::SetSimpleText(const String& text)
{
    text_ = text;
    label_->setText(QString::fromStdString(text));
    label_->repaint();
}

TToolButton::TToolButton(TComponent* owner) : TControl(owner), button_(new QToolButton)
{
    button_->setAutoRaise(true);
    // Caption and glyph share the button's height, so keep Qt's padding out of it.
    button_->setStyleSheet("QToolButton { padding: 0px; margin: 0px; }");
    SetWidget(button_);
    QObject::connect(button_, &QToolButton::clicked, [this] { GuardedCall([this] { Click(); }); });
}

void TToolButton::SetCaption(const String& text)
{
    caption_ = text;
    button_->setText(QString::fromStdString(text));
    UpdateLook();
}

void TToolButton::SetStyle(TToolButtonStyle s)
{
    style_ = s;
    UpdateLook();
}

void TToolButton::SetImageIndex(int i)
{
    imageIndex_ = i;
    UpdateLook();
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu)
{
    menu_ = menu;
    UpdateLook();
}

void TToolButton::ParentChanged() { UpdateLook(); }

void TToolButton::UpdateLook()
{
    auto* bar = dynamic_cast<TToolBar*>(Parent());
    bool separator = style_ == tbsSeparator || style_ == tbsDivider;
    button_->setEnabled(!separator);
    if (separator) {
        button_->setText(QString());
        button_->setIcon(QIcon());
    }
    if (bar && !separator) {
        if (bar->Images && imageIndex_ >= 0 && imageIndex_ < bar->Images->Count()) {
            button_->setIcon(QPixmap::fromImage(bar->Images->Image(imageIndex_)));
            button_->setIconSize(QSize(bar->Images->Width, bar->Images->Height));
        }
        button_->setToolButtonStyle(bar->ShowCaptions ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    }
    if (style_ == tbsDropDown && menu_) {
        button_->setPopupMode(QToolButton::InstantPopup);
        button_->setMenu(menu_->BuildMenu());
    }
    if (bar)
        bar->Arrange();
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner)
{
    SetWidget(new QWidget);
    SetAlign(alTop);
}

void TToolBar::Arrange()
{
    int x = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        auto* b = dynamic_cast<TToolButton*>(c);
        if (!c->Visible())
            continue;
        if (b && (b->Style() == tbsSeparator || b->Style() == tbsDivider)) {
            c->SetBounds(x, 0, c->Width(), ButtonHeight);
        } else if (b) {
            c->SetBounds(x, 0, ButtonWidth, ButtonHeight);
        } else {
            c->SetBounds(x, (Height() - c->Height()) / 2, c->Width(), c->Height());
        }
        x += c->Width();
    }
}
