#include "ControlHook.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

class TControlHook::Filter : public QObject {
public:
    Filter(QWidget* widget, TControlHookProc proc) : widget_(widget), proc_(std::move(proc)) {}
    QPointer<QWidget> widget_;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != widget_ || inPaint_)
            return false;
        switch (event->type()) {
        case QEvent::Paint:
            PaintOver(widget_, event, hmPaint);
            return true;
        case QEvent::Enter: After(hmMouseEnter); break;
        case QEvent::Leave: After(hmMouseLeave); break;
        case QEvent::FocusIn: After(hmSetFocus); break;
        case QEvent::FocusOut: After(hmKillFocus); break;
        case QEvent::EnabledChange: After(hmEnabledChanged); break;
        case QEvent::MouseMove: After(hmMouseMove); break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                After(hmLButtonDown);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                After(hmLButtonUp);
            break;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
                After(hmSpaceDown);
            break;
        case QEvent::KeyRelease:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
                After(hmSpaceUp);
            break;
        default: break;
        }
        return false;
    }

    // The widget's own painting runs first, through every other filter, then the hook's on top.
    void PaintOver(QWidget* widget, QEvent* event, THookMessage message)
    {
        inPaint_ = true;
        QCoreApplication::sendEvent(widget, event);
        inPaint_ = false;
        if (!widget || ended_)
            return;
        QPainter painter(widget);
        TCanvas canvas;
        canvas.Attach(&painter);
        Call(message, &canvas);
        canvas.Release();
    }
    bool inPaint_ = false;

private:
    // State changes only: the drawing they lead to comes with the control's next paint.
    void After(THookMessage message) { Call(message, nullptr); }
public:
    // May delete the filter (its hook ended meanwhile): callers touch no member afterwards.
    void Call(THookMessage message, TCanvas* canvas)
    {
        if (ended_)
            return;
        ++calls_;
        GuardedCall([&] { proc_(message, canvas); });
        if (--calls_ == 0 && ended_)
            delete this;
    }
    int calls_ = 0;
    bool ended_ = false;

private:
    TControlHookProc proc_;
};

// Draws over the parent once it has painted itself.
class TControlHook::ParentFilter : public QObject {
public:
    ParentFilter(QWidget* parent, Filter* hook) : parent_(parent), hook_(hook) { parent->installEventFilter(this); }
    ~ParentFilter() override
    {
        if (parent_)
            parent_->removeEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != parent_ || event->type() != QEvent::Paint || inPaint_ || hook_->ended_)
            return false;
        inPaint_ = true;
        hook_->PaintOver(parent_, event, hmParentPaint);
        inPaint_ = false;
        return true;
    }

private:
    QPointer<QWidget> parent_;
    Filter* hook_;
    bool inPaint_ = false;
};

void TControlHook::HookParentPaint()
{
    QWidget* w = control_->Widget();
    if (!w || !w->parentWidget() || parentFilter_)
        return;
    parentFilter_ = std::make_unique<ParentFilter>(w->parentWidget(), filter_.get());
    w->parentWidget()->update();
}

TControlHook::TControlHook(TControl* control, TControlHookProc proc) : control_(control)
{
    QWidget* w = control->Widget();
    filter_ = std::make_unique<Filter>(w, std::move(proc));
    if (!w)
        return;
    w->installEventFilter(filter_.get());
    Filter* f = filter_.get();
    QObject::connect(w, &QObject::destroyed, f, [f] { f->Call(hmDestroy, nullptr); });
}

TControlHook::~TControlHook()
{
    parentFilter_.reset();
    filter_->ended_ = true;
    if (filter_->widget_) {
        filter_->widget_->removeEventFilter(filter_.get());
        QObject::disconnect(filter_->widget_, nullptr, filter_.get(), nullptr);
    }
    // A hook may end itself from inside its own procedure: the filter then goes once that returns.
    if (filter_->calls_ > 0)
        filter_.release();
}
