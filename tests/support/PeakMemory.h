#pragma once
// How much resident memory a call takes at its peak, measured by the kernel rather than assumed.
#include <functional>

// The peak of resident memory while call runs, above what was resident before it, in kilobytes.
long PeakGrowthKb(const std::function<void()>& call);
