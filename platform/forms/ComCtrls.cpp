#include "ComCtrls.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QProxyStyle>
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

// The button's widget: the bar's button handler may paint it instead of Qt.
class TToolButton::ButtonWidget : public QToolButton {
public:
    explicit ButtonWidget(TToolButton* button) : button_(button) {}

protected:
    bool event(QEvent* e) override
    {
        const bool handled = QToolButton::event(e);
        // Qt's own hover tracking misses a pointer that left while a popup held the mouse.
        const QEvent::Type type = e->type();
        if ((type == QEvent::MouseMove || type == QEvent::Enter || type == QEvent::Leave) &&
            paintedHot_ != bool(button_->DrawState() & cdsHot))
            update();
        return handled;
    }
    void paintEvent(QPaintEvent* e) override
    {
        paintedHot_ = button_->DrawState() & cdsHot;
        auto* bar = dynamic_cast<TToolBar*>(button_->Parent());
        if (!bar) {
            PaintOwnFace();
            return;
        }
        const TToolButtonStyle style = button_->Style();
        if (style == tbsSeparator || style == tbsDivider) {
            // A separator is drawn by the handler of the button after it, as the bar draws it.
            if (bar->OnCustomDrawButton) {
                if (TToolButton* next = NextButton(*bar))
                    bar->CustomDrawButton(this, next);
                return;
            }
        }
        if (bar->CustomDrawButton(this, button_))
            PaintOwnFace();
    }

private:
    // The style's face, raised only while the pointer is really over the button (a popup menu
    // that closed elsewhere leaves Qt's under-mouse flag set), and the focus as a dotted frame.
    void PaintOwnFace()
    {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.state &= ~QStyle::State_HasFocus;
        if (!(button_->DrawState() & cdsHot))
            option.state &= ~QStyle::State_MouseOver;
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
        if (hasFocus())
            DrawFocusFrame(painter, {0, 0, width(), height()}, TToolButton::FocusInset);
    }
    TToolButton* NextButton(TToolBar& bar) const
    {
        for (int i = 0; i + 1 < bar.ControlCount(); ++i)
            if (bar.Controls(i) == button_)
                return dynamic_cast<TToolButton*>(bar.Controls(i + 1));
        return nullptr;
    }
    TToolButton* button_;
    bool paintedHot_ = false;
};

// The bar's widget: its colour, then the custom drawing of its background.
class TToolBar::BarWidget : public QWidget {
public:
    explicit BarWidget(TToolBar* bar) : bar_(bar) {}

protected:
    void paintEvent(QPaintEvent*) override { bar_->CustomDraw(this); }

private:
    TToolBar* bar_;
};

namespace {
// Caption and glyph share the button's height, so the style's frame and margin are kept out of
// it. One style for every tool button: a style sheet would give each its own style and cost a
// window's start-up the parsing and polishing of every button.
class ToolButtonStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_DefaultFrameWidth || metric == PM_ButtonMargin)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle* SharedToolButtonStyle()
{
    static ToolButtonStyle* const style = new ToolButtonStyle;  // lives as long as the program
    return style;
}
}  // namespace

TToolButton::TToolButton(TComponent* owner) : TControl(owner), button_(new ButtonWidget(this))
{
    button_->setAutoRaise(true);
    button_->setStyle(SharedToolButtonStyle());
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
    if (menu_)
        menu_->RemoveFreeNotification(this);
    menu_ = menu;
    if (menu)
        menu->FreeNotification(this);
    if (Widget())
        UpdateLook();
}

void TToolButton::SetMenuItem(TMenuItem* item)
{
    if (menuItem_)
        menuItem_->RemoveFreeNotification(this);
    menuItem_ = item;
    if (item)
        item->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation)
{
    // Told once only the component part of the menu or item is left: compared by address.
    if (operation == opRemove) {
        if (menu_ && static_cast<void*>(component) == static_cast<void*>(menu_))
            SetDropdownMenu(nullptr);
        if (menuItem_ && static_cast<void*>(component) == static_cast<void*>(menuItem_))
            SetMenuItem(nullptr);
    }
    TControl::Notification(component, operation);
}

void TToolButton::ParentChanged()
{
    // A bar freed after its form's window took the button's widget along.
    if (Widget())
        UpdateLook();
}

bool TToolButton::Down() const { return button_->isChecked(); }

void TToolButton::SetDown(bool down)
{
    button_->setCheckable(down || style_ == tbsCheck);
    button_->setChecked(down);
}

TCustomDrawState TToolButton::DrawState() const
{
    TCustomDrawState state = 0;
    if (button_->isDown())
        state |= cdsSelected;
    if (!button_->isEnabled())
        state |= cdsDisabled;
    else if (MouseOverNow())
        state |= cdsHot;
    if (button_->hasFocus())
        state |= cdsFocused;
    if (Down())
        state |= cdsChecked;
    if (Indeterminate)
        state |= cdsIndeterminate;
    return state;
}

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
    SetWidget(new BarWidget(this));
    SetAlign(alTop);
}

namespace {
// A painter on widget that draws in the bar's coordinates.
void AttachInBarCoordinates(TCanvas& canvas, QPainter& painter, QWidget* widget, QWidget* bar)
{
    if (widget != bar)
        painter.translate(-widget->mapTo(bar, QPoint(0, 0)));
    canvas.Attach(&painter);
}
}  // namespace

void TToolBar::CustomDraw(QWidget* widget)
{
    if (!OnCustomDraw || !Widget())
        return;
    QPainter painter(widget);
    AttachInBarCoordinates(canvas_, painter, widget, Widget());
    bool defaultDraw = true;
    GuardedCall([&] { OnCustomDraw(this, ClientRect(), defaultDraw); });
    canvas_.Release();
}

bool TToolBar::CustomDrawButton(QWidget* widget, TToolButton* button)
{
    if (!OnCustomDrawButton || !Widget())
        return true;
    bool defaultDraw = true;
    {
        QPainter painter(widget);
        AttachInBarCoordinates(canvas_, painter, widget, Widget());
        canvas_.Font.Assign(Font);
        GuardedCall([&] { OnCustomDrawButton(this, button, button->DrawState(), defaultDraw); });
        canvas_.Release();
    }
    return defaultDraw;
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
