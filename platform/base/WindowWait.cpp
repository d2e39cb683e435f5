#include "WindowWait.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>

class TWindowWait::TFilter : public QObject {
public:
    bool Cancelled = false;

protected:
    bool eventFilter(QObject* target, QEvent* e) override
    {
        if (ForBoxOpenedMeanwhile(target))
            return false;
        switch (e->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
                Cancelled = true;
            return true;
        case QEvent::Close:
            // A close event left accepted would still close the window.
            e->ignore();
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::InputMethod:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> modalAtStart_ = QApplication::activeModalWidget();

    // A box that a handler run meanwhile opens (an error message, say) must be answerable, or
    // nothing could ever close it: its own input, and its Escape, are its own. Qt itself keeps
    // the windows it blocks from that input.
    bool ForBoxOpenedMeanwhile(QObject* target) const
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == modalAtStart_)
            return false;
        QWidget* popup = QApplication::activePopupWidget();
        if (auto* widget = qobject_cast<QWidget*>(target))
            return widget->window() == modal || (popup && widget->window() == popup);
        if (auto* window = qobject_cast<QWindow*>(target))
            return window == modal->windowHandle() || (popup && window == popup->windowHandle());
        return false;
    }
};

std::unique_ptr<TWindowWait> TWindowWait::Begin()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        QThread::currentThread() != QCoreApplication::instance()->thread())
        return nullptr;
    return std::unique_ptr<TWindowWait>(new TWindowWait);
}

TWindowWait::TWindowWait() : filter_(std::make_unique<TFilter>())
{
    QCoreApplication::instance()->installEventFilter(filter_.get());
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TWindowWait::~TWindowWait()
{
    // Input that came in since the last look is dropped too, not handed to the windows later.
    ProcessEvents();
    QApplication::restoreOverrideCursor();
    QCoreApplication::instance()->removeEventFilter(filter_.get());
}

void TWindowWait::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool TWindowWait::Cancelled() const { return filter_->Cancelled; }
