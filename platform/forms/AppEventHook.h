#pragma once
// A hook that hears of every event the application dispatches, before its ordinary handling,
// which it never stops.
#include <functional>
#include <memory>

class TApplicationEventHook {
public:
    explicit TApplicationEventHook(std::function<void()> proc);
    ~TApplicationEventHook();
    TApplicationEventHook(const TApplicationEventHook&) = delete;
    TApplicationEventHook& operator=(const TApplicationEventHook&) = delete;

private:
    class Filter;
    std::unique_ptr<Filter> filter_;
};
