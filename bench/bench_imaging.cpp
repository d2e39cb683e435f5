// Speed of the bitmap routines on large pictures, each timed side by side with the plain memory
// copy that bounds the transforms, at one thread and at the threads the routine takes (the copy
// then runs on as many). A threaded run also times the routine on one thread beside it
// (x_one_thread): threads must never make it slower. Resampling is timed against its peers by
// bench_resample_peers.
#include "FlipRotate.h"
#include "Photos.h"
#include "RowBands.h"
#include "SideBySide.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

using bench::PhotoOf;

// 6000 x 4000: 24 megapixels.
constexpr int kBigW = 6000, kBigH = 4000;

const TBitmap& BigPhoto() { return PhotoOf(kBigW, kBigH); }

void SetBytes(benchmark::State& state, int64_t pixels)
{
    state.SetBytesProcessed(state.iterations() * pixels * 3);
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

// Runs f with the rows shared among the given threads (0: as many as the routine takes).
template <class F>
void AtThreads(int threads, F&& f)
{
    ForceRowBandThreads(threads);
    f();
    ForceRowBandThreads(0);
}

// The bound of every transform: copying the picture into a bitmap's own memory (the memory a
// routine's new bitmap gets), on one thread or in bands on every CPU.
struct MemcpyBaseline {
    const TBitmap& src;
    TBitmap target;
    int threads;
    MemcpyBaseline(const TBitmap& s, int t) : src(s), target(s.Width(), s.Height(), pf24bit), threads(t) {}
    // Bands of rows forced onto the given threads.
    void operator()()
    {
        const uint8_t* from = src.ScanLine(0);
        uint8_t* to = target.ScanLine(0);
        const size_t line = src.BytesPerLine();
        AtThreads(threads, [&] {
            ForEachRowBand(src.Height(), 1, [&](int first, int last) {
                std::memcpy(to + first * line, from + first * line, (last - first) * line);
            });
        });
        benchmark::ClobberMemory();
    }
};

// The routine against the copy on as many threads as it takes; threaded, against itself on one
// thread too.
template <class Routine>
void AgainstMemcpy(benchmark::State& state, int threads, const TBitmap& src, Routine routine)
{
    AtThreads(threads, routine);
    const int used = threads == 1 ? 1 : LastRowBandThreads();
    MemcpyBaseline memcpyInto(src, used);
    std::vector<bench::Contender> contenders = {{"routine", [&] { AtThreads(threads, routine); }}, {"memcpy", std::ref(memcpyInto)}};
    if (threads != 1)
        contenders.push_back({"one_thread", [&] { AtThreads(1, routine); }});
    bench::Contest(state, contenders);
    state.counters["threads"] = used;
    SetBytes(state, int64_t{src.Width()} * src.Height());
}

// Twelve, 24 and 48 megapixels, each as a landscape 4:3, a portrait 3:4 and a square picture,
// at one thread and at the threads taken (0).
void PictureShapes(benchmark::internal::Benchmark* b, std::vector<int64_t> leading)
{
    const int shapes[][2] = {{4000, 3000}, {3000, 4000}, {3464, 3464}, {6000, 4000}, {4000, 6000},
                             {4899, 4899}, {8000, 6000}, {6000, 8000}, {6928, 6928}};
    for (int64_t threads : {1, 0})
        for (int64_t first : leading)
            for (auto [w, h] : shapes)
                b->Args({threads, first, w, h});
}

// Arguments: threads, angle, width, height. The new bitmap the routine returns is part of its time.
void BM_RotateBitmap(benchmark::State& state)
{
    const int angle = static_cast<int>(state.range(1));
    const TBitmap& src = PhotoOf(static_cast<int>(state.range(2)), static_cast<int>(state.range(3)));
    AgainstMemcpy(state, static_cast<int>(state.range(0)), src, [&] { benchmark::DoNotOptimize(RotateBitmap(angle, src)); });
}
BENCHMARK(BM_RotateBitmap)
    ->Apply([](benchmark::internal::Benchmark* b) { PictureShapes(b, {90, 270}); })
    ->UseManualTime()
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

// Arguments: threads; 1 flip rows, 2 mirror columns, 3 both; width, height.
void BM_FlipReverse(benchmark::State& state)
{
    const bool flip = (state.range(1) & 1) != 0, reverse = (state.range(1) & 2) != 0;
    const TBitmap& src = PhotoOf(static_cast<int>(state.range(2)), static_cast<int>(state.range(3)));
    AgainstMemcpy(state, static_cast<int>(state.range(0)), src, [&] { benchmark::DoNotOptimize(FlipReverse(flip, reverse, src)); });
}
BENCHMARK(BM_FlipReverse)
    ->Apply([](benchmark::internal::Benchmark* b) { PictureShapes(b, {2}); })
    ->ArgsProduct({{1, 0}, {1, 3}, {kBigW}, {kBigH}})
    ->UseManualTime()
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

// One thread: the split runs down the rows from one to the next.
void BM_DiagonalMerge(benchmark::State& state)
{
    const TBitmap& a = BigPhoto();
    static auto b = FlipReverse(true, true, a);
    AgainstMemcpy(state, 1, a, [&] { benchmark::DoNotOptimize(DiagonalMerge(a, *b)); });
}
BENCHMARK(BM_DiagonalMerge)->UseManualTime()->Unit(benchmark::kMillisecond);

// In place, as the main window calls it: one thread, each row reading the one just written. The
// copy is made outside the timing.
void BM_SharpenBitmapInPlace(benchmark::State& state)
{
    TBitmap work;
    for (auto _ : state) {
        state.PauseTiming();
        work.Assign(BigPhoto());
        state.ResumeTiming();
        SharpenBitmap(work, work, 2.0f);
    }
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_SharpenBitmapInPlace)->Unit(benchmark::kMillisecond);

// Argument: threads.
void BM_SharpenBitmapToOther(benchmark::State& state)
{
    TBitmap src;
    src.Assign(BigPhoto());
    TBitmap dst;
    AgainstMemcpy(state, static_cast<int>(state.range(0)), src, [&] { SharpenBitmap(src, dst, 2.0f); });
}
BENCHMARK(BM_SharpenBitmapToOther)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond);

// In place, one thread: every change is seen by the pixels after it.
void BM_AntiAliasBitmap(benchmark::State& state)
{
    TBitmap work;
    for (auto _ : state) {
        state.PauseTiming();
        work.Assign(BigPhoto());
        state.ResumeTiming();
        AntiAliasBitmap(work, 10);
    }
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_AntiAliasBitmap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
