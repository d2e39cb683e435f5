#pragma once
// Network time limits short enough for a test, put back when the test ends.
#include "InternetRequest.h"

struct ShortInternetLimits {
    TInternetLimits saved = InternetLimits();
    explicit ShortInternetLimits(int idleMs = 500, int slowWindowMs = 60000, int slowBytesPerSecond = 0)
    {
        TInternetLimits limits = saved;
        limits.ConnectMs = 2000;
        limits.IdleMs = idleMs;
        limits.SlowWindowMs = slowWindowMs;
        limits.SlowBytesPerSecond = slowBytesPerSecond;
        SetInternetLimits(limits);
    }
    ~ShortInternetLimits() { SetInternetLimits(saved); }
};
