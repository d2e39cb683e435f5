#include "StdCtrls.h"

#include "EditWidget.h"
#include "ExtCtrls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStylePainter>
#include <QValidator>

#include <algorithm>

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

namespace {
// A push button that shows the focus as a dotted frame inside its face, in place of the style's
// own cue.
class PushButton : public QPushButton {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.state &= ~QStyle::State_HasFocus;
        painter.drawControl(QStyle::CE_PushButton, option);
        if (hasFocus())
            DrawFocusFrame(painter, {0, 0, width(), height()}, TButton::FocusInset);
    }
};
}  // namespace

TButton::TButton(TComponent* owner) : TWinControl(owner), button_(new PushButton)
{
    // Qt would make every button of a dialog a default button once it has the focus; here
    // Return goes to the form, which clicks the focused or the Default button.
    button_->setAutoDefault(false);
    SetWidget(button_);
    SetTabStop(true);
    QObject::connect(button_, &QPushButton::clicked, [this] { GuardedCall([this] { Click(); }); });
}

void TButton::SetCaption(const String& text)
{
    caption_ = text;
    button_->setText(Q(text));
}

void TButton::SetDefault(bool d)
{
    default_ = d;
    button_->setDefault(d);
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

// Every change the user makes reaches the line edit's validator with the whole new text; the
// edit compares it with the text it last accepted.
class TEdit::Gate : public QValidator {
public:
    explicit Gate(TEdit* edit) : QValidator(edit->edit_), edit_(edit) {}
    State validate(QString& input, int& cursor) const override
    {
        String after = input.toStdString();
        if (edit_->settingText_ || after == edit_->accepted_)
            return Acceptable;
        bool allowed = true;
        GuardedCall([&] { allowed = edit_->CanEditText(edit_->accepted_, after); });
        if (allowed && after != input.toStdString()) {
            // The cursor stays after what was put in, by as much shorter as that became.
            const QString taken = Q(after);
            cursor = std::clamp(cursor - static_cast<int>(input.size() - taken.size()), 0, static_cast<int>(taken.size()));
            input = taken;
        }
        return allowed ? Acceptable : Invalid;
    }

private:
    TEdit* edit_;
};

TEdit::TEdit(TComponent* owner) : TWinControl(owner), edit_(NewEditWidget(this))
{
    SetWidget(edit_);
    SetTabStop(true);
    SetBorderStyle(bsSingle);
    SetColor(clWindow);
    gate_ = new Gate(this);
    edit_->setValidator(gate_);
    QObject::connect(edit_, &QLineEdit::textChanged, [this](const QString& text) {
        accepted_ = text.toStdString();
        GuardedCall([this] { Fire(OnChange, this); });
    });
}

String TEdit::Text() const { return edit_->text().toStdString(); }

void TEdit::SetText(const String& text)
{
    settingText_ = true;
    edit_->setText(Q(text));
    settingText_ = false;
    accepted_ = edit_->text().toStdString();
}

int TEdit::FrameWidth() const
{
    // The style's frame and the one-pixel margin the line edit keeps inside it: together they
    // stand for the platform's two-pixel sunken border, inside which the text lies.
    const int lineEditMargin = 1;
    if (BorderStyle() == bsNone)
        return 0;
    return Ctl3D() ? edit_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit_) + lineEditMargin : 1;
}

TRect TEdit::InnerRect() const
{
    const int frame = FrameWidth();
    return {frame, frame, std::max(frame, Width() - frame), std::max(frame, Height() - frame)};
}
int TEdit::MaxLength() const { return edit_->maxLength(); }
void TEdit::SetMaxLength(int n) { edit_->setMaxLength(n > 0 ? n : 32767); }
bool TEdit::ReadOnly() const { return edit_->isReadOnly(); }
void TEdit::SetReadOnly(bool on) { edit_->setReadOnly(on); }
void TEdit::SelectAll() { edit_->selectAll(); }
String TEdit::SelText() const { return edit_->selectedText().toStdString(); }
void TEdit::SetRightTextMargin(int pixels) { edit_->setTextMargins(0, 0, pixels, 0); }

// The Qt combo box, telling its control when its list opens and closes.
class TComboBox::ComboWidget : public QComboBox {
public:
    explicit ComboWidget(TComboBox* box) : box_(box) {}
    void showPopup() override
    {
        GuardedCall([this] { box_->DropDown(); });
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        GuardedCall([this] { box_->CloseUp(); });
    }
    using QComboBox::initStyleOption;

private:
    TComboBox* box_;
};

class TComboBox::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(TComboBox* box) : box_(box) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect& r = option.rect;
        TOwnerDrawState state = 0;
        if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver))
            state |= odSelected;
        if (option.state & QStyle::State_HasFocus)
            state |= odFocused;
        box_->PaintItem(*painter, index.row(), {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, state);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(option.rect.width(), box_->LineHeight(index.row()));
    }

private:
    TComboBox* box_;
};

TComboBox::TComboBox(TComponent* owner, TComboBoxStyle style)
    : TWinControl(owner), combo_(new ComboWidget(this))
{
    SetWidget(combo_);
    SetTabStop(true);
    SetColor(clWindow);
    SetStyle(style);
    // Return in the box's field leaves the list as it is.
    combo_->setInsertPolicy(QComboBox::NoInsert);
    items_.OnChange = [this](TObject*) { SyncItems(); };
    QObject::connect(combo_, &QComboBox::activated, [this](int) { GuardedCall([this] { Change(); }); });
}

TComboBox::~TComboBox()
{
    if (Widget())
        combo_->setItemDelegate(nullptr);
}

void TComboBox::SyncItems()
{
    syncing_ = true;
    int keep = combo_->currentIndex();
    combo_->clear();
    QStringList lines;
    lines.reserve(items_.Count());
    for (int i = 0; i < items_.Count(); ++i)
        lines.append(Q(items_[i]));
    combo_->addItems(lines);  // one insertion, not one per line
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
    const bool editable = s == csDropDown || s == csSimple;
    // The field that goes is deleted later; standing in for the box meanwhile, it would take
    // the box's focus with it.
    if (QLineEdit* field = combo_->lineEdit(); field && !editable)
        field->setFocusProxy(nullptr);
    combo_->setEditable(editable);
    if (OwnerDraw() && !delegate_) {
        delegate_ = std::make_unique<Delegate>(this);
        combo_->setItemDelegate(delegate_.get());
    }
    combo_->update();
}

void TComboBox::SetItemHeight(int h)
{
    if (h > 0)
        itemHeight_ = h;
}

void TComboBox::SetEditHeight(int h)
{
    if (h > 0)
        editHeight_ = h;
}

int TComboBox::DropWidth() const { return std::max(combo_->view()->minimumWidth(), Width()); }

void TComboBox::SetDropWidth(int w) { combo_->view()->setMinimumWidth(w); }

bool TComboBox::DroppedDown() const { return combo_->view()->isVisible(); }

TRect TComboBox::ButtonRect() const
{
    QStyleOptionComboBox option;
    option.initFrom(combo_);
    option.editable = combo_->isEditable();
    const QRect r = combo_->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo_);
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int TComboBox::LineHeight(int index)
{
    int h = itemHeight_;
    GuardedCall([&] { MeasureItem(index, h); });
    return std::max(1, h);
}

void TComboBox::MeasureItem(int, int&) {}

void TComboBox::PaintItem(QPainter& painter, int index, const TRect& rect, TOwnerDrawState state)
{
    canvas_.Attach(&painter);
    canvas_.Font.Assign(Font);
    canvas_.Brush.Style = bsSolid;
    canvas_.Brush.Color = (state & odSelected) ? clHighlight : Color();
    canvas_.Font.SetColor((state & odSelected) ? clHighlightText : Font.Color());
    GuardedCall([&] { DrawItem(index, rect, state); });
    // The focused line is framed over whatever the line drew.
    if (state & odFocused)
        canvas_.DrawFocusRect(rect);
    canvas_.Release();
}

void TComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState)
{
    canvas_.FillRect(rect);
    if (index >= 0 && index < items_.Count())
        canvas_.TextOut(rect.Left + 2, rect.Top, items_[index]);
}

void TComboBox::PaintWindow(QPainter& painter)
{
    auto* combo = static_cast<ComboWidget*>(combo_);
    QStyleOptionComboBox option;
    combo->initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    combo->style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, combo);
    QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    TOwnerDrawState state = odComboBoxEdit | (combo->hasFocus() ? odSelected | odFocused : 0);
    PaintItem(painter, ItemIndex(), {field.left(), field.top(), field.left() + field.width(), field.top() + field.height()},
              state);
}

bool TComboBox::HandleEvent(QEvent* event)
{
    // A list-only box shows its line as an owner-drawn one does: chosen and framed while focused.
    if (event->type() == QEvent::Paint && (OwnerDraw() || style_ == csDropDownList)) {
        QPainter painter(combo_);
        PaintWindow(painter);
        return true;
    }
    return TWinControl::HandleEvent(event);
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner), box_(new QGroupBox)
{
    SetWidget(box_);
}

// Drawn as the class library's group box is: an etched line round the box, its top through the
// middle of the caption, which stands 8 pixels in on the box's colour. (The style's own frame is
// a picture decoded from a file, which would bring every image plug-in and a pool of threads
// into the first paint of a window.)
bool TGroupBox::HandleEvent(QEvent* event)
{
    if (event->type() != QEvent::Paint)
        return TWinControl::HandleEvent(event);
    QPainter painter(box_);
    TCanvas canvas;
    canvas.Attach(&painter);
    canvas.Font.Assign(Font);
    const int textHeight = canvas.TextHeight("0");
    TRect frame = ClientRect();
    frame.Top += textHeight / 2;
    Frame3D(canvas, frame, clBtnShadow, clBtnHighlight);
    Frame3D(canvas, frame, clBtnHighlight, clBtnShadow);
    if (!caption_.empty()) {
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = Color();
        canvas.TextOut(8, 0, caption_);
    }
    canvas.Release();
    return true;
}

void TGroupBox::SetCaption(const String& text)
{
    caption_ = text;
    box_->setTitle(Q(text));
}
