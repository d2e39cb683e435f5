#include "RowBands.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// A few threads are enough to keep the memory busy; more only crowd a shared machine.
constexpr unsigned kMaxThreads = 4;
}  // namespace

void ForEachRowBand(int rows, int minRows, const std::function<void(int, int)>& work)
{
    if (rows <= 0)
        return;
    const unsigned byCores = std::max(1u, std::min(kMaxThreads, std::thread::hardware_concurrency()));
    const int bands = std::max(1, std::min(static_cast<int>(byCores), rows / std::max(1, minRows)));
    if (bands == 1) {
        work(0, rows);
        return;
    }
    std::vector<std::thread> threads;
    threads.reserve(bands - 1);
    const int per = (rows + bands - 1) / bands;
    int first = per;
    try {
        for (; first < rows; first += per)
            threads.emplace_back(work, first, std::min(rows, first + per));
    } catch (const std::system_error&) {
        // No thread to be had: the bands not started run here.
    }
    work(0, std::min(rows, per));
    for (; first < rows; first += per)
        work(first, std::min(rows, first + per));
    for (auto& t : threads)
        t.join();
}
