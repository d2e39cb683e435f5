#include "RowBands.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Pieces a thread takes on average: enough for the others to make up for one that waits for a
// CPU, few enough that taking one costs nothing next to moving its rows.
constexpr int kPiecesPerThread = 4;

thread_local int lastThreads = 1;

std::atomic<int>& Forced()
{
    static std::atomic<int> threads{0};
    return threads;
}

int ThreadsFor(int rows, int minRows, int maxThreads)
{
    if (const int forced = Forced().load(std::memory_order_relaxed); forced > 0)
        return std::min(forced, rows);
    int threads = AvailableCpus();
    if (maxThreads > 0)
        threads = std::min(threads, maxThreads);
    return std::max(1, std::min(threads, rows / std::max(1, minRows)));
}

}  // namespace

int AvailableCpus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    // A mask larger than the set holds (over a thousand CPUs): the machine's count.
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

int LastRowBandThreads() { return lastThreads; }

void ForceRowBandThreads(int n) { Forced().store(std::max(0, n), std::memory_order_relaxed); }

void ForEachRowBand(int rows, int minRows, const std::function<void(int, int)>& work, int maxThreads)
{
    if (rows <= 0)
        return;
    const int threads = ThreadsFor(rows, minRows, maxThreads);
    lastThreads = threads;
    if (threads == 1) {
        work(0, rows);
        return;
    }
    const int piece = std::max(1, (rows + kPiecesPerThread * threads - 1) / (kPiecesPerThread * threads));
    std::atomic<int> next{0};
    auto take = [&] {
        for (int first; (first = next.fetch_add(piece, std::memory_order_relaxed)) < rows;)
            work(first, std::min(rows, first + piece));
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    try {
        for (int t = 1; t < threads; ++t)
            helpers.emplace_back(take);
    } catch (const std::system_error&) {
        // No more threads to be had: those running and this one take every piece.
    }
    take();
    for (auto& h : helpers)
        h.join();
}
