// Speed of the bitmap routines on large pictures, with the plain memory copy that bounds the
// transforms. The resampling peers (ImageMagick, libvips) are timed by bench_imaging_peers.sh.
#include "FlipRotate.h"
#include "resample.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

// 6000 x 4000: 24 megapixels.
constexpr int kBigW = 6000, kBigH = 4000;

std::unique_ptr<TBitmap> Photo(int w, int h)
{
    // Smooth gradients with noise, so that neighbours mostly differ a little, as in a photograph.
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    std::mt19937 rng(42);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<uint8_t>((x * 255 / w + rng() % 16) & 0xFF);
            row[3 * x + 1] = static_cast<uint8_t>((y * 255 / h + rng() % 16) & 0xFF);
            row[3 * x + 2] = static_cast<uint8_t>(((x + y) * 127 / (w + h) + rng() % 32) & 0xFF);
        }
    }
    return b;
}

const TBitmap& BigPhoto()
{
    static auto photo = Photo(kBigW, kBigH);
    return *photo;
}

void SetBytes(benchmark::State& state, int64_t pixels)
{
    state.SetBytesProcessed(state.iterations() * pixels * 3);
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_Memcpy(benchmark::State& state)
{
    const TBitmap& src = BigPhoto();
    const size_t bytes = static_cast<size_t>(src.BytesPerLine()) * src.Height();
    std::vector<uint8_t> dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.ScanLine(0), bytes);
        benchmark::DoNotOptimize(dst.data());
    }
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// The routines return new bitmaps: the same copy into freshly allocated memory.
void BM_MemcpyNewBuffer(benchmark::State& state)
{
    const TBitmap& src = BigPhoto();
    const size_t bytes = static_cast<size_t>(src.BytesPerLine()) * src.Height();
    for (auto _ : state) {
        auto* dst = static_cast<uint8_t*>(std::malloc(bytes));
        std::memcpy(dst, src.ScanLine(0), bytes);
        benchmark::DoNotOptimize(dst);
        std::free(dst);
    }
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_MemcpyNewBuffer)->Unit(benchmark::kMillisecond);

void BM_RotateBitmap90(benchmark::State& state)
{
    const TBitmap& src = BigPhoto();
    for (auto _ : state)
        benchmark::DoNotOptimize(RotateBitmap(90, src));
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_RotateBitmap90)->Unit(benchmark::kMillisecond);

void BM_RotateBitmap270(benchmark::State& state)
{
    const TBitmap& src = BigPhoto();
    for (auto _ : state)
        benchmark::DoNotOptimize(RotateBitmap(270, src));
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_RotateBitmap270)->Unit(benchmark::kMillisecond);

// Arguments: flip rows, mirror columns.
void BM_FlipReverse(benchmark::State& state)
{
    const TBitmap& src = BigPhoto();
    for (auto _ : state)
        benchmark::DoNotOptimize(FlipReverse(state.range(0) != 0, state.range(1) != 0, src));
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_FlipReverse)->Args({1, 0})->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);

void BM_DiagonalMerge(benchmark::State& state)
{
    const TBitmap& a = BigPhoto();
    static auto b = FlipReverse(true, true, a);
    for (auto _ : state)
        benchmark::DoNotOptimize(DiagonalMerge(a, *b));
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_DiagonalMerge)->Unit(benchmark::kMillisecond);

// In place, as the main window calls it; the copy is made outside the timing.
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

void BM_SharpenBitmapToOther(benchmark::State& state)
{
    TBitmap src;
    src.Assign(BigPhoto());
    TBitmap dst;
    for (auto _ : state)
        SharpenBitmap(src, dst, 2.0f);
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_SharpenBitmapToOther)->Unit(benchmark::kMillisecond);

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

// Arguments: filter index in the table, destination width and height; the source is 4000 x 3000.
void BM_Stretch(benchmark::State& state)
{
    static auto src = Photo(4000, 3000);
    const auto& filter = ResampleFilters[state.range(0)];
    TBitmap dst(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), pf24bit);
    state.SetLabel(filter.Name);
    for (auto _ : state)
        Stretch(*src, dst, filter.Filter, filter.Support);
    SetBytes(state, int64_t{4000} * 3000);
}
BENCHMARK(BM_Stretch)
    ->ArgsProduct({{1, 6, 5}, {2000}, {1500}})
    ->ArgsProduct({{1, 6, 5}, {1200}, {900}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
