// Speed of the bitmap routines on large pictures, each timed side by side with the plain memory
// copy that bounds the transforms. The resampling peers (ImageMagick, libvips) are timed by
// bench_imaging_peers.sh.
#include "FlipRotate.h"
#include "SideBySide.h"
#include "resample.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
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
            const uint32_t r = rng();
            row[3 * x] = static_cast<uint8_t>((x * 255 / w + (r & 15)) & 0xFF);
            row[3 * x + 1] = static_cast<uint8_t>((y * 255 / h + ((r >> 8) & 15)) & 0xFF);
            row[3 * x + 2] = static_cast<uint8_t>(((x + y) * 127 / (w + h) + ((r >> 16) & 31)) & 0xFF);
        }
    }
    return b;
}

// One picture per size, made once: the large ones take a while to fill.
const TBitmap& PhotoOf(int w, int h)
{
    static std::map<std::pair<int, int>, std::unique_ptr<TBitmap>> photos;
    auto& photo = photos[{w, h}];
    if (!photo)
        photo = Photo(w, h);
    return *photo;
}

const TBitmap& BigPhoto() { return PhotoOf(kBigW, kBigH); }

void SetBytes(benchmark::State& state, int64_t pixels)
{
    state.SetBytesProcessed(state.iterations() * pixels * 3);
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

// The bound of every transform: copying the picture into a bitmap's own memory (the memory a
// routine's new bitmap gets), timed alternately with the routine.
struct MemcpyBaseline {
    const TBitmap& src;
    TBitmap target;
    explicit MemcpyBaseline(const TBitmap& s) : src(s), target(s.Width(), s.Height(), pf24bit) {}
    void operator()()
    {
        const size_t bytes = static_cast<size_t>(src.BytesPerLine()) * src.Height();
        std::memcpy(target.ScanLine(0), src.ScanLine(0), bytes);
        benchmark::ClobberMemory();
    }
};

// Twelve, 24 and 48 megapixels, each as a landscape 4:3, a portrait 3:4 and a square picture.
void PictureShapes(benchmark::internal::Benchmark* b, std::vector<int64_t> leading)
{
    const int shapes[][2] = {{4000, 3000}, {3000, 4000}, {3464, 3464}, {6000, 4000}, {4000, 6000},
                             {4899, 4899}, {8000, 6000}, {6000, 8000}, {6928, 6928}};
    for (int64_t first : leading)
        for (auto [w, h] : shapes)
            b->Args({first, w, h});
}

// Arguments: angle, width, height. The new bitmap the routine returns is part of its time.
void BM_RotateBitmap(benchmark::State& state)
{
    const int angle = static_cast<int>(state.range(0));
    const TBitmap& src = PhotoOf(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    MemcpyBaseline memcpyInto(src);
    bench::SideBySide(state, "x_memcpy", [&] { benchmark::DoNotOptimize(RotateBitmap(angle, src)); }, memcpyInto);
    SetBytes(state, int64_t{src.Width()} * src.Height());
}
BENCHMARK(BM_RotateBitmap)
    ->Apply([](benchmark::internal::Benchmark* b) { PictureShapes(b, {90, 270}); })
    ->UseManualTime()
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

// Arguments: 1 flip rows, 2 mirror columns, 3 both; width, height.
void BM_FlipReverse(benchmark::State& state)
{
    const bool flip = (state.range(0) & 1) != 0, reverse = (state.range(0) & 2) != 0;
    const TBitmap& src = PhotoOf(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    MemcpyBaseline memcpyInto(src);
    bench::SideBySide(state, "x_memcpy", [&] { benchmark::DoNotOptimize(FlipReverse(flip, reverse, src)); }, memcpyInto);
    SetBytes(state, int64_t{src.Width()} * src.Height());
}
BENCHMARK(BM_FlipReverse)
    ->Apply([](benchmark::internal::Benchmark* b) { PictureShapes(b, {2}); })
    ->Args({1, kBigW, kBigH})
    ->Args({3, kBigW, kBigH})
    ->UseManualTime()
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

void BM_DiagonalMerge(benchmark::State& state)
{
    const TBitmap& a = BigPhoto();
    static auto b = FlipReverse(true, true, a);
    MemcpyBaseline memcpyInto(a);
    bench::SideBySide(state, "x_memcpy", [&] { benchmark::DoNotOptimize(DiagonalMerge(a, *b)); }, memcpyInto);
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_DiagonalMerge)->UseManualTime()->Unit(benchmark::kMillisecond);

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
    MemcpyBaseline memcpyInto(src);
    bench::SideBySide(state, "x_memcpy", [&] { SharpenBitmap(src, dst, 2.0f); }, memcpyInto);
    SetBytes(state, int64_t{kBigW} * kBigH);
}
BENCHMARK(BM_SharpenBitmapToOther)->UseManualTime()->Unit(benchmark::kMillisecond);

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
