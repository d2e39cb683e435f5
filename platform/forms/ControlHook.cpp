#include "ControlHook.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
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

    // The widget's own painting runs first, through every other filter, then the hook's on top,
    // its origin moved by shift. The filter may be gone afterwards.
    void PaintOver(QWidget* widget, QEvent* event, THookMessage message, QPoint shift = {})
    {
        inPaint_ = true;
        QCoreApplication::sendEvent(widget, event);
        inPaint_ = false;
        if (!widget || ended_)
            return;
        QPainter painter(widget);
        painter.translate(-shift);
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

// Draws over another widget once it has painted itself: the parent (in its own co-ordinates) or
// the viewport of a scroll area (in the control's, so that the hook draws there as on the control).
class TControlHook::SideFilter : public QObject {
public:
    SideFilter(QWidget* target, QWidget* origin, Filter* hook, THookMessage message)
        : target_(target), origin_(origin), hook_(hook), message_(message)
    {
        target->installEventFilter(this);
    }
    // The hook went; a filter that is painting goes when it is done.
    static void End(std::unique_ptr<SideFilter>& side)
    {
        if (!side)
            return;
        if (side->target_)
            side->target_->removeEventFilter(side.get());
        if (side->busy_) {
            side->orphaned_ = true;
            side.release();
        } else {
            side.reset();
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != target_ || event->type() != QEvent::Paint || busy_ || orphaned_ || hook_->ended_)
            return false;
        busy_ = true;
        const QPoint shift = origin_ && origin_ != target_ ? target_->mapTo(origin_, QPoint(0, 0)) : QPoint(0, 0);
        hook_->PaintOver(target_, event, message_, shift);
        busy_ = false;
        if (orphaned_)
            delete this;
        return true;
    }

private:
    QPointer<QWidget> target_;
    QPointer<QWidget> origin_;
    Filter* hook_;
    THookMessage message_;
    bool busy_ = false;
    bool orphaned_ = false;
};

void TControlHook::HookParentPaint()
{
    QWidget* w = control_->Widget();
    if (!w || !w->parentWidget() || parentFilter_)
        return;
    parentFilter_ = std::make_unique<SideFilter>(w->parentWidget(), w->parentWidget(), filter_.get(), hmParentPaint);
    w->parentWidget()->update();
}

TControlHook::TControlHook(TControl* control, TControlHookProc proc) : control_(control)
{
    QWidget* w = control->Widget();
    filter_ = std::make_unique<Filter>(w, std::move(proc));
    if (!w)
        return;
    w->installEventFilter(filter_.get());
    // A scroll area's viewport covers the control where it has no border: the hook draws there too.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w))
        viewportFilter_ = std::make_unique<SideFilter>(area->viewport(), w, filter_.get(), hmPaint);
    Filter* f = filter_.get();
    QObject::connect(w, &QObject::destroyed, f, [f] { f->Call(hmDestroy, nullptr); });
    if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable())
        QObject::connect(button, &QAbstractButton::toggled, f, [f] { f->Call(hmCheckChanged, nullptr); });
}

TControlHook::~TControlHook()
{
    SideFilter::End(parentFilter_);
    SideFilter::End(viewportFilter_);
    filter_->ended_ = true;
    if (filter_->widget_) {
        filter_->widget_->removeEventFilter(filter_.get());
        QObject::disconnect(filter_->widget_, nullptr, filter_.get(), nullptr);
    }
    // A hook may end itself from inside its own procedure: the filter then goes once that returns.
    if (filter_->calls_ > 0)
        filter_.release();
}
