#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "PointerPosition.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QWheelEvent>
#include <QToolTip>
#include <QUrl>
#include <QWidget>

#include <algorithm>

void GuardedCall(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const Exception& e) {
        Application()->HandleException(e.Message);
    } catch (const std::exception& e) {
        Application()->HandleException(e.what());
    }
}

void DrawFocusFrame(QPainter& painter, TRect r, int inset)
{
    InflateRect(r, -inset, -inset);
    TCanvas canvas;
    canvas.Attach(&painter);
    canvas.DrawFocusRect(r);
    canvas.Release();
}

namespace {
QColor QtColor(TColor c)
{
    TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier) s |= ssShift;
    if (mods & Qt::AltModifier) s |= ssAlt;
    if (mods & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TMouseButton ButtonOf(Qt::MouseButton b)
{
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

int KeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_F4: return VK_F4;
    default: return qtKey >= 'A' && qtKey <= 'Z' ? qtKey : (qtKey >= '0' && qtKey <= '9' ? qtKey : qtKey & 0xFFFF);
    }
}
}  // namespace

// Routes the widget's events to the control.
class TControl::Filter : public QObject {
public:
    explicit Filter(TControl* control) : control_(control) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != control_->widget_)
            return false;
        bool consumed = false;
        GuardedCall([&] { consumed = control_->HandleEvent(event); });
        return consumed;
    }

private:
    TControl* control_;
};

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    Font.SetName(kDefaultControlFontName);
    Font.SetHeight(kDefaultControlFontHeight);
    Font.OnChange = [this](TObject*) { ApplyFont(); };
}

TControl::~TControl()
{
    LeaveButtonLikes();
    if (action_)
        action_->Unlink(this);
    if (parent_)
        parent_->RemoveControl(this);
    if (widget_) {
        widget_->removeEventFilter(filter_);
        QPointer<QWidget> guard(widget_);
        widget_ = nullptr;
        delete guard.data();
    }
    delete filter_;
}

QWidget* TControl::Widget() const { return widget_; }

void TControl::SetWidget(QWidget* widget)
{
    widget_ = widget;
    if (!filter_)
        filter_ = new Filter(this);
    widget_->installEventFilter(filter_);
    widget_->setMouseTracking(true);
    // A destroyed widget (its Qt parent went first) must not be used again.
    QObject::connect(widget_, &QObject::destroyed, filter_, [this] { widget_ = nullptr; });
    ApplyFont();
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent_ == parent)
        return;
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        if (widget_ && parent_->HostWidget()) {
            QRect g = widget_->geometry();
            widget_->setParent(parent_->HostWidget());
            widget_->setGeometry(g);
            widget_->setVisible(visible_);
        }
    }
    ParentChanged();
}

int TControl::Left() const { return widget_ ? widget_->x() : 0; }
int TControl::Top() const { return widget_ ? widget_->y() : 0; }
int TControl::Width() const { return widget_ ? widget_->width() : 0; }
int TControl::Height() const { return widget_ ? widget_->height() : 0; }

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (!widget_)
        return;
    bool resized = width != widget_->width() || height != widget_->height();
    widget_->setGeometry(left, top, std::max(0, width), std::max(0, height));
    if (resized) {
        if (auto* w = dynamic_cast<TWinControl*>(this))
            w->Realign();
    }
}

bool TControl::Visible() const { return visible_; }
void TControl::SetVisible(bool v)
{
    visible_ = v;
    if (widget_ && (parent_ || !v))
        widget_->setVisible(v);
    if (parent_)
        parent_->Realign();
}

bool TControl::Enabled() const { return widget_ ? widget_->isEnabled() : true; }
void TControl::SetEnabled(bool v)
{
    if (!widget_ || widget_->isEnabled() == v)
        return;
    widget_->setEnabled(v);
    EnabledChanged();
}

void TControl::SetCaption(const String& text)
{
    caption_ = text;
    if (actsAsButton_)
        GrabAccelerator();
    Invalidate();
}

bool AppHasActiveWindow() { return QApplication::activeWindow() != nullptr; }

TPoint MouseCursorPos()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void TControl::SetBiDiMode(TBiDiMode mode)
{
    biDiMode_ = mode;
    ApplyBiDiMode();
    Invalidate();
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned flags) const
{
    if (UseRightToLeftAlignment()) {
        if (flags & DT_RIGHT)
            flags &= ~unsigned(DT_RIGHT);
        else if (!(flags & DT_CENTER))
            flags |= DT_RIGHT;
    }
    if (UseRightToLeftReading())
        flags |= DT_RTLREADING;
    return flags;
}

void TControl::ApplyBiDiMode()
{
    if (widget_)
        widget_->setLayoutDirection(UseRightToLeftAlignment() ? Qt::RightToLeft : Qt::LeftToRight);
}

bool TControl::MouseOverNow() const
{
    if (!widget_)
        return false;
    const QPoint pointer = PointerPosition();
    // Finding the window under the pointer asks the window system (a round trip to the X server
    // each time); a pointer outside the control's own rectangle needs no asking.
    if (!QRect(widget_->mapToGlobal(QPoint(0, 0)), widget_->size()).contains(pointer))
        return false;
    return QApplication::widgetAt(pointer) == widget_;
}

void TControl::DropQueuedPresses(bool doubleClicks)
{
    if (!widget_)
        return;
    QCoreApplication::removePostedEvents(widget_, doubleClicks ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress);
}

void TControl::PaintUnderneath(TCanvas& dest)
{
    QPainter* painter = dest.Painter();
    if (!painter || !widget_ || !parent_ || !parent_->HostWidget())
        return;
    const QRect self = widget_->geometry();
    parent_->HostWidget()->render(painter, QPoint(), QRegion(self), QWidget::DrawWindowBackground);
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        TControl* sibling = parent_->Controls(i);
        if (sibling == this)
            break;
        QWidget* w = sibling->widget_;
        if (!w || !dynamic_cast<TGraphicControl*>(sibling) || !sibling->Visible() || !w->geometry().intersects(self))
            continue;
        w->render(painter, w->geometry().topLeft() - self.topLeft(), QRegion(), QWidget::DrawWindowBackground);
    }
}

void TControl::SetHint(const String& hint)
{
    hint_ = hint;
    if (widget_) {
        // A hint is plain text even when it looks like mark-up.
        QString plain = QString::fromStdString(hint).toHtmlEscaped();
        widget_->setToolTip(plain.isEmpty() ? QString() : "<p style='white-space:pre'>" + plain + "</p>");
    }
}

void TControl::SetColor(TColor c)
{
    color_ = c;
    parentColor_ = false;
    if (widget_) {
        QPalette pal = widget_->palette();
        pal.setColor(QPalette::Window, QtColor(c));
        widget_->setPalette(pal);
        widget_->setAutoFillBackground(opaque_);
    }
    Invalidate();
}

void TControl::SetOpaque(bool on)
{
    opaque_ = on;
    if (widget_)
        widget_->setAutoFillBackground(on);
    Invalidate();
}

void TControl::SetAlign(TAlign a)
{
    align_ = a;
    if (parent_)
        parent_->Realign();
}

void TControl::ApplyFont()
{
    if (widget_)
        widget_->setFont(Font.ToQFont());
}

namespace {

// What a control shows: a scroll area (list, memo, tree or list view) paints its contents on its
// viewport, which an update of the frame around it never reaches. The viewport is where the
// control's client co-ordinates start.
QWidget* ContentsOf(QWidget* widget)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(widget);
    return area ? area->viewport() : widget;
}

}  // namespace

void TControl::Invalidate()
{
    if (!widget_)
        return;
    widget_->update();
    ContentsOf(widget_)->update();
}

void TControl::InvalidateRect(const TRect& r)
{
    if (widget_)
        ContentsOf(widget_)->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TControl::Repaint()
{
    if (!widget_)
        return;
    widget_->repaint();
    ContentsOf(widget_)->repaint();
}

void TControl::PaintTo(TBitmap& target)
{
    target.SetPixelFormat(pf32bit);
    target.SetSize(Width(), Height());
    if (!widget_ || Width() <= 0 || Height() <= 0)
        return;
    QImage image(Width(), Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    widget_->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    target.SetImage(image);
}

TPoint TControl::ScreenToClient(const TPoint& p) const
{
    if (!widget_)
        return p;
    QPoint q = widget_->mapFromGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

TPoint TControl::ClientToScreen(const TPoint& p) const
{
    if (!widget_)
        return p;
    QPoint q = widget_->mapToGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

void TControl::BringToFront()
{
    if (widget_)
        widget_->raise();
}

void TControl::CancelHint() { QToolTip::hideText(); }

void TControl::DispatchPaint(QWidget* widget)
{
    QPainter painter(widget);
    canvas_.Attach(&painter);
    canvas_.Font.Assign(Font);
    try {
        Paint();
    } catch (...) {
        canvas_.Release();
        throw;
    }
    canvas_.Release();
}

bool TControl::HandleEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        QPoint p = e->position().toPoint();
        MouseDown(ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
        return actsAsButton_;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        QPoint p = e->position().toPoint();
        MouseUp(ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
        return actsAsButton_;
    }
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton)
            DblClick();
        // A button's second press of a double click presses it again, as a plain press would.
        if (actsAsButton_) {
            QPoint p = e->position().toPoint();
            MouseDown(ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()) | ssDouble, p.x(), p.y());
        }
        return actsAsButton_;
    }
    case QEvent::Shortcut:
        // Buttons of one window that share an accelerator letter: the letter presses the first
        // of them, as it would a sole one (Qt would only move the focus from one to the next).
        if (static_cast<QShortcutEvent*>(event)->isAmbiguous() && PressFirstSharingAccelerator())
            return true;
        if (!actsAsButton_)
            return false;
        DialogChar();
        return true;
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        QPoint p = e->position().toPoint();
        MouseMove(ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
        return false;
    }
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        const int delta = e->angleDelta().y();
        const QPoint g = e->globalPosition().toPoint();
        return delta != 0 && MouseWheel(ShiftOf(e->modifiers(), e->buttons()), delta, {g.x(), g.y()});
    }
    case QEvent::Enter: MouseEnter(); return false;
    case QEvent::Leave: MouseLeave(); return false;
    case QEvent::Resize: Resize(); return false;
    case QEvent::ToolTip: {
        auto* e = static_cast<QHelpEvent*>(event);
        String text;
        TPoint screen{e->globalPos().x(), e->globalPos().y()};
        if (!ControlHintAt({e->pos().x(), e->pos().y()}, text, screen))
            return false;
        if (text.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(QPoint(screen.X, screen.Y),
                               "<p style='white-space:pre'>" + QString::fromStdString(text).toHtmlEscaped() + "</p>",
                               widget_);
        return true;
    }
    default: return false;
    }
}

// A plain widget that lets its control paint it and take its clicks.
namespace {
class PaintedWidget : public QWidget {
public:
    explicit PaintedWidget(TControl* control) : control_(control) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        GuardedCall([this] { control_->DispatchPaint(this); });
    }
    void mousePressEvent(QMouseEvent* e) override { pressed_ = e->button() == Qt::LeftButton; }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            GuardedCall([this] { control_->Click(); });
        pressed_ = false;
    }

private:
    TControl* control_;
    bool pressed_ = false;
};
}  // namespace

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner)
{
    SetWidget(new PaintedWidget(this));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    std::vector<TControl*> children;
    children.swap(controls_);
    for (TControl* c : children)
        c->SetParent(nullptr);
}

void TWinControl::InsertControl(TControl* c)
{
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) {
        controls_.push_back(c);
        tabList_.push_back(c);
    }
    Realign();
}

void TWinControl::RemoveControl(TControl* c)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
}

void TWinControl::SetTabStop(bool on)
{
    tabStop_ = on;
    QWidget* w = Widget();
    if (!w)
        return;
    const Qt::FocusPolicy policy = w->focusPolicy();
    if (on)
        w->setFocusPolicy(policy == Qt::NoFocus ? Qt::StrongFocus : Qt::FocusPolicy(policy | Qt::TabFocus));
    else
        w->setFocusPolicy(Qt::FocusPolicy(policy & ~Qt::TabFocus));
    RootControl().ArrangeTabSequence();
}

TWinControl& TWinControl::RootControl()
{
    TWinControl* root = this;
    while (root->Parent())
        root = root->Parent();
    return *root;
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    int order = 0;
    for (TControl* c : Parent()->tabList_) {
        if (c == this)
            return order;
        if (dynamic_cast<TWinControl*>(c))
            ++order;
    }
    return -1;
}

void TWinControl::SetTabOrder(int order)
{
    TWinControl* parent = Parent();
    if (!parent)
        return;
    auto& list = parent->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    auto at = list.begin();
    for (int windowed = 0; at != list.end(); ++at)
        if (dynamic_cast<TWinControl*>(*at) && windowed++ == order)
            break;
    list.insert(at, this);
    RootControl().ArrangeTabSequence();
}

void TWinControl::CollectTabSequence(std::vector<QWidget*>& chain, QWidget* window) const
{
    for (TControl* c : tabList_) {
        QWidget* w = c->Widget();
        if (w && w->focusPolicy() != Qt::NoFocus && w->window() == window)
            chain.push_back(w);
        if (auto* windowed = dynamic_cast<TWinControl*>(c))
            windowed->CollectTabSequence(chain, window);
    }
}

void TWinControl::ArrangeTabSequence()
{
    if (!Widget())
        return;
    std::vector<QWidget*> chain;
    CollectTabSequence(chain, Widget()->window());
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

TWinControl* TWinControl::FirstTabStop() const
{
    for (TControl* c : tabList_) {
        auto* windowed = dynamic_cast<TWinControl*>(c);
        QWidget* w = c->Widget();
        if (!w || !w->isVisibleTo(w->window()) || !w->isEnabled())
            continue;
        if (windowed && windowed->TabStop())
            return windowed;
        if (windowed)
            if (TWinControl* inner = windowed->FirstTabStop())
                return inner;
    }
    return nullptr;
}

void TWinControl::Realign()
{
    TRect area = ClientRect();
    AdjustClientRect(area);
    auto place = [&](TAlign which) {
        for (TControl* c : controls_) {
            if (c->Align() != which || !c->Visible())
                continue;
            switch (which) {
            case alTop:
                c->SetBounds(area.Left, area.Top, area.Width(), c->Height());
                area.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(area.Left, area.Bottom - c->Height(), area.Width(), c->Height());
                area.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(area.Left, area.Top, c->Width(), area.Height());
                area.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(area.Right - c->Width(), area.Top, c->Width(), area.Height());
                area.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(area.Left, area.Top, area.Width(), area.Height());
                break;
            default:
                break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
}

bool TWinControl::Focused() const { return Widget() && Widget()->hasFocus(); }

void TWinControl::SetFocus()
{
    if (Widget())
        Widget()->setFocus();
}

bool TWinControl::HandleEvent(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        int key = KeyOf(e->key());
        KeyDown(key, ShiftOf(e->modifiers(), Qt::NoButton));
        if (key == 0)
            return true;
        QString text = e->text();
        if (text.size() == 1 && text[0].unicode() < 256) {
            char c = static_cast<char>(text[0].unicode());
            KeyPress(c);
            if (c == 0)
                return true;
        }
        return false;
    }
    if (acceptFiles_ && HandleFileDrag(event))
        return true;
    if (event->type() == QEvent::Resize)
        Realign();
    if (event->type() == QEvent::FocusIn)
        DoEnter();
    else if (event->type() == QEvent::FocusOut)
        DoExit();
    return TControl::HandleEvent(event);
}

void TWinControl::DragAcceptFiles(bool accept)
{
    acceptFiles_ = accept;
    if (Widget())
        Widget()->setAcceptDrops(accept);
}

bool TWinControl::HandleFileDrag(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drag = static_cast<QDropEvent*>(event);
    std::vector<String> names;
    for (const QUrl& url : drag->mimeData()->urls())
        if (url.isLocalFile())
            names.push_back(url.toLocalFile().toStdString());
    // Only files are taken; other drags go to the control as usual.
    if (names.empty())
        return false;
    drag->acceptProposedAction();
    if (type == QEvent::Drop)
        DropFiles(names);
    return true;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner)
{
    // Keys reach a custom control only once its tab stop is on, or its code takes the focus.
    SetWidget(new PaintedWidget(this));
}
