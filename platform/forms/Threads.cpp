#include "Threads.h"

#include "Controls.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>

TThread::TThread(bool createSuspended)
{
    if (!createSuspended)
        Start();
}

TThread::~TThread()
{
    WaitFor();
}

void TThread::Start()
{
    if (thread_.joinable())
        return;
    thread_ = std::thread([this] {
        try {
            Execute();
        } catch (...) {
        }
    });
}

void TThread::WaitFor()
{
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

bool IsMainThread()
{
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

class TMainThreadQueue::Receiver : public QObject {};

TMainThreadQueue::TMainThreadQueue() : receiver_(std::make_unique<Receiver>()) {}

TMainThreadQueue::~TMainThreadQueue() = default;

void TMainThreadQueue::Post(std::function<void()> call)
{
    // With the receiver as context, Qt drops the call when the receiver is deleted first.
    QMetaObject::invokeMethod(receiver_.get(), [call = std::move(call)] { GuardedCall(call); }, Qt::QueuedConnection);
}
