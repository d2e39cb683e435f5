#pragma once
// Timing of a routine against its baseline on a shared, busy machine: the two run alternately,
// once each per iteration (in alternating order, so neither always finds the other's data in
// the cache), and the ratio of their median times is reported. A change in the machine's load
// then falls on both sides of the ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

inline double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The benchmark's time is the subject's (register it with UseManualTime); the counter
// ratioName is median(subject) / median(baseline).
template <class Subject, class Baseline>
void SideBySide(benchmark::State& state, const char* ratioName, Subject&& subject, Baseline&& baseline)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> subjectTimes, baselineTimes;
    auto time = [](auto& f) {
        const auto t0 = Clock::now();
        f();
        return std::chrono::duration<double>(Clock::now() - t0).count();
    };
    bool baselineFirst = true;
    for (auto _ : state) {
        double s = 0;
        if (baselineFirst) {
            baselineTimes.push_back(time(baseline));
            s = time(subject);
        } else {
            s = time(subject);
            baselineTimes.push_back(time(baseline));
        }
        subjectTimes.push_back(s);
        state.SetIterationTime(s);
        baselineFirst = !baselineFirst;
    }
    const double subjectMedian = Median(subjectTimes), baselineMedian = Median(baselineTimes);
    state.counters[ratioName] = baselineMedian > 0 ? subjectMedian / baselineMedian : 0;
    state.counters["median_ms"] = subjectMedian * 1e3;
    state.counters["base_ms"] = baselineMedian * 1e3;
}

}  // namespace bench
