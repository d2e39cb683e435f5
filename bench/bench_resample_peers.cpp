// Resampling a 4000 x 3000 photograph to 2000 x 1500 and to 1200 x 900 with each of the seven
// filters, ours against libvips and ImageMagick called in this process on the same picture, at
// one thread and at every CPU this process may run on (each peer at the same count). The three
// run in rounds; x_vips and x_magick are our median time over theirs: below 1 we are faster.
#include "Photos.h"
#include "RowBands.h"
#include "SideBySide.h"
#include "peers/ResamplePeers.h"
#include "resample.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kSrcW = 4000, kSrcH = 3000;

struct Sources {
    const TBitmap& photo = bench::PhotoOf(kSrcW, kSrcH);
    std::unique_ptr<TResamplePeer> vips, magick;
    Sources()
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(3) * kSrcW * kSrcH);
        for (int y = 0; y < kSrcH; ++y)
            std::copy_n(photo.ScanLine(y), 3 * kSrcW, pixels.data() + static_cast<size_t>(3) * kSrcW * y);
        vips = NewVipsPeer(pixels.data(), kSrcW, kSrcH);
        magick = NewMagickPeer(pixels.data(), kSrcW, kSrcH);
    }
};

const Sources& Pictures()
{
    static const Sources sources;
    return sources;
}

// Arguments: filter index, destination width and height, threads (1, or 0 for every CPU).
void BM_Stretch(benchmark::State& state)
{
    const Sources& s = Pictures();
    const int filter = static_cast<int>(state.range(0));
    const int dw = static_cast<int>(state.range(1)), dh = static_cast<int>(state.range(2));
    const int threads = state.range(3) == 1 ? 1 : AvailableCpus();
    const TFilterEntry& f = ResampleFilters[filter];
    TBitmap dst(dw, dh, pf24bit);
    ForceRowBandThreads(threads == 1 ? 1 : 0);
    bench::Contest(state, {{"ours", [&] { Stretch(s.photo, dst, f.Filter, f.Support); }},
                           {"vips", [&] { s.vips->Resample(filter, dw, dh, threads); }},
                           {"magick", [&] { s.magick->Resample(filter, dw, dh, threads); }}});
    ForceRowBandThreads(0);
    state.SetLabel(std::string(f.Name) + " (vips " + s.vips->Kernel(filter) + ", magick " + s.magick->Kernel(filter) + ")");
    state.counters["threads"] = threads;
}
BENCHMARK(BM_Stretch)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {2000}, {1500}, {1, 0}})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {1200}, {900}, {1, 0}})
    ->UseManualTime()
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
