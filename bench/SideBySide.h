#pragma once
// Timing of a routine against its baselines on a shared, busy machine: they run in rounds, each
// once per round, each round starting with the next one in turn (so that none always finds
// another's data in the cache), and the ratios of their median times are reported. A change in
// the machine's load then falls on both sides of every ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
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

inline double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The first contender is the subject, whose times are the benchmark's (register it with
// UseManualTime). Counters: median_ms, the subject's median; for every other contender
// <name>_ms, its median, and x_<name>, median(subject) / median(it): below 1 the subject is
// the faster; x_<name>_lo and x_<name>_hi, the lowest and highest ratio of one round's two
// times, show how far a single round may stray from it. With cpuToo, the same for the process's processor time: median_cpu_ms,
// <name>_cpu_ms, x_<name>_cpu.
inline void Contest(benchmark::State& state, const std::vector<Contender>& contenders, bool cpuToo = false)
{
    using Clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> times(contenders.size()), cpuTimes(contenders.size());
    size_t start = 0;
    for (auto _ : state) {
        double subject = 0;
        for (size_t k = 0; k < contenders.size(); ++k) {
            const size_t c = (start + k) % contenders.size();
            const double cpu0 = ProcessCpuSeconds();
            const auto t0 = Clock::now();
            contenders[c].run();
            const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
            cpuTimes[c].push_back(ProcessCpuSeconds() - cpu0);
            times[c].push_back(seconds);
            if (c == 0)
                subject = seconds;
        }
        state.SetIterationTime(subject);
        start = (start + 1) % contenders.size();
    }
    auto report = [&](const std::vector<std::vector<double>>& t, const std::string& suffix) {
        const double subjectMedian = Median(t[0]);
        state.counters["median" + suffix + "_ms"] = subjectMedian * 1e3;
        for (size_t c = 1; c < contenders.size(); ++c) {
            const double m = Median(t[c]);
            state.counters[contenders[c].name + suffix + "_ms"] = m * 1e3;
            state.counters["x_" + contenders[c].name + suffix] = m > 0 ? subjectMedian / m : 0;
            std::vector<double> rounds;
            for (size_t r = 0; r < t[0].size() && r < t[c].size(); ++r)
                if (t[c][r] > 0)
                    rounds.push_back(t[0][r] / t[c][r]);
            if (!rounds.empty()) {
                const auto [lo, hi] = std::minmax_element(rounds.begin(), rounds.end());
                state.counters["x_" + contenders[c].name + suffix + "_lo"] = *lo;
                state.counters["x_" + contenders[c].name + suffix + "_hi"] = *hi;
            }
        }
    };
    report(times, "");
    if (cpuToo)
        report(cpuTimes, "_cpu");
}

// A subject and one baseline; the ratio is x_<baselineName>.
template <class Subject, class Baseline>
void SideBySide(benchmark::State& state, const char* baselineName, Subject&& subject, Baseline&& baseline)
{
    Contest(state, {{"subject", std::forward<Subject>(subject)}, {baselineName, std::forward<Baseline>(baseline)}});
}

}  // namespace bench
