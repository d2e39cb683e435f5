// Loading animated GIFs as the web picture does: a real animation whose frames are all kept,
// and a hostile file of a few kilobytes whose frames declare far more pixels than its screen,
// refused once the frames' own pixels pass the limit. Peak memory is the process's, so the
// hostile file runs first.
#include "GifBuilder.h"
#include "WebImage.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {
void Load(TWebPicture& picture, const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    picture.LoadFromStream(stream);
}

double PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

// 60 frames of 8000 x 8000 on a one-pixel screen.
void RefuseHugeFrames(benchmark::State& state)
{
    const std::string gif = MakeGif(1, 1, std::vector<TGifTestFrame>(60, TGifTestFrame{0, 0, 8000, 8000, 5, 0, kGifBlue}));
    bool refused = false;
    for (auto _ : state) {
        TWebPicture picture;
        try {
            Load(picture, gif);
        } catch (const Exception&) {
            refused = true;
        }
    }
    if (!refused)
        state.SkipWithError("the hostile GIF was not refused");
    state.counters["file_kb"] = double(gif.size()) / 1024;
    state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(RefuseHugeFrames)->Unit(benchmark::kMillisecond)->Iterations(3);

// 100 frames of 500 x 500 moving over a 600 x 600 screen.
void KeepAnimation(benchmark::State& state)
{
    std::vector<TGifTestFrame> frames;
    for (uint16_t i = 0; i < 100; ++i)
        frames.push_back({i, i, 500, 500, 5, 0, static_cast<uint8_t>(i % 4)});
    const std::string gif = MakeGif(600, 600, frames);
    for (auto _ : state) {
        TWebPicture picture;
        Load(picture, gif);
        if (!picture.FramesKept())
            state.SkipWithError("the animation was not kept");
    }
    state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(KeepAnimation)->Unit(benchmark::kMillisecond)->Iterations(3);
}  // namespace

BENCHMARK_MAIN();
