#include "AppEventHook.h"

#include "Controls.h"

#include <QCoreApplication>

class TApplicationEventHook::Filter : public QObject {
public:
    explicit Filter(std::function<void()> proc) : proc_(std::move(proc)) {}
    bool eventFilter(QObject*, QEvent*) override
    {
        // Whatever the hook does may dispatch events of its own; those pass unheard.
        if (busy_)
            return false;
        busy_ = true;
        GuardedCall(proc_);
        busy_ = false;
        return false;
    }

private:
    std::function<void()> proc_;
    bool busy_ = false;
};

TApplicationEventHook::TApplicationEventHook(std::function<void()> proc) : filter_(std::make_unique<Filter>(std::move(proc)))
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(filter_.get());
}

TApplicationEventHook::~TApplicationEventHook()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(filter_.get());
}
