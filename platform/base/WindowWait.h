#pragma once
// A network exchange made on the window thread waits without freezing the program: the
// windows repaint, the hourglass shows, no command reaches them (clicks and keys typed
// meanwhile are dropped, never run once the wait is over) and Escape cancels the exchange.
#include <memory>

class TWindowWait {
public:
    // Null off the window thread: a worker waits plainly.
    static std::unique_ptr<TWindowWait> Begin();
    ~TWindowWait();
    TWindowWait(const TWindowWait&) = delete;
    TWindowWait& operator=(const TWindowWait&) = delete;

    // Handles what the windows have pending (painting, timers; input is dropped).
    void ProcessEvents();
    // Escape was pressed.
    bool Cancelled() const;

private:
    TWindowWait();
    class TFilter;
    std::unique_ptr<TFilter> filter_;
};
