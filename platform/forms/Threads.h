#pragma once
// Worker threads and the hand-over of work to the user-interface thread.
#include "Classes.h"

#include <functional>
#include <memory>
#include <thread>

// A thread of the class library. Unlike the library's self-freeing threads, its owner frees it
// and the destructor waits for the body to end, so a worker never outlives what it works on.
class TThread : public TObject {
public:
    // Starts at once unless created suspended.
    explicit TThread(bool createSuspended);
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    // Waits until the body has ended.
    void WaitFor();

protected:
    // Runs on the worker; an exception that escapes it ends the thread quietly.
    virtual void Execute() = 0;

private:
    std::thread thread_;
};

bool IsMainThread();

// Posts calls to the user-interface thread, to run there in order from its event loop.
// Calls still waiting when the queue is destroyed are dropped, so a posted call never reaches
// an object that is gone. Create and destroy it on the user-interface thread.
class TMainThreadQueue {
public:
    TMainThreadQueue();
    ~TMainThreadQueue();
    TMainThreadQueue(const TMainThreadQueue&) = delete;
    TMainThreadQueue& operator=(const TMainThreadQueue&) = delete;
    // Safe from any thread; on the user-interface thread the call is still queued, not run.
    void Post(std::function<void()> call);

private:
    class Receiver;
    std::unique_ptr<Receiver> receiver_;
};
