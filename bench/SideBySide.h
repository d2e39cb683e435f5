#pragma once
// Timing of a routine against its baselines on a shared, busy machine: they run in rounds, each
// once per round, each round starting with the next one in turn (so that none always finds
// another's data in the cache), and the ratios of their median times are reported. A change in
// the machine's load then falls on both sides of every ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
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

struct Contender {
    std::string name;
    std::function<void()> run;
};

// The first contender is the subject, whose times are the benchmark's (register it with
// UseManualTime). Counters: median_ms, the subject's median; for every other contender
// <name>_ms, its median, and x_<name>, median(subject) / median(it): below 1 the subject is
// the faster.
inline void Contest(benchmark::State& state, const std::vector<Contender>& contenders)
{
    using Clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> times(contenders.size());
    size_t start = 0;
    for (auto _ : state) {
        double subject = 0;
        for (size_t k = 0; k < contenders.size(); ++k) {
            const size_t c = (start + k) % contenders.size();
            const auto t0 = Clock::now();
            contenders[c].run();
            const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
            times[c].push_back(seconds);
            if (c == 0)
                subject = seconds;
        }
        state.SetIterationTime(subject);
        start = (start + 1) % contenders.size();
    }
    const double subjectMedian = Median(times[0]);
    state.counters["median_ms"] = subjectMedian * 1e3;
    for (size_t c = 1; c < contenders.size(); ++c) {
        const double m = Median(times[c]);
        state.counters[contenders[c].name + "_ms"] = m * 1e3;
        state.counters["x_" + contenders[c].name] = m > 0 ? subjectMedian / m : 0;
    }
}

// A subject and one baseline; the ratio is x_<baselineName>.
template <class Subject, class Baseline>
void SideBySide(benchmark::State& state, const char* baselineName, Subject&& subject, Baseline&& baseline)
{
    Contest(state, {{"subject", std::forward<Subject>(subject)}, {baselineName, std::forward<Baseline>(baseline)}});
}

}  // namespace bench
