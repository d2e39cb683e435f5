// Showing the preview of a 24-megapixel cover: decoding its bytes, as every hover of the link
// did on the window thread, against showing the decoded picture kept for its address. The cover
// is a photograph-like picture (Photos.h) saved at quality 90: noise that compresses as a
// photograph's detail does, not smooth gradients a decoder runs through.
#include "Jpeg.h"
#include "Photos.h"
#include "WebImage.h"

#include <QCoreApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {
const std::vector<uint8_t>& CoverBytes()
{
    static const std::vector<uint8_t> bytes = [] {
        QImage image(6000, 4000, QImage::Format_BGR888);
        bench::PaintPhoto(image.width(), image.height(), [&](int y) { return image.scanLine(y); });
        return EncodeJpeg(image, 90);
    }();
    return bytes;
}

void Load(TWebPicture& picture)
{
    TMemoryStream stream;
    stream.WriteBuffer(CoverBytes().data(), static_cast<int64_t>(CoverBytes().size()));
    picture.LoadFromStream(stream);
}

void DecodeCoverPreview(benchmark::State& state)
{
    TWebPicture picture;
    for (auto _ : state) {
        Load(picture);
        benchmark::DoNotOptimize(picture.Width());
    }
}
BENCHMARK(DecodeCoverPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

void ShowKeptCoverPreview(benchmark::State& state)
{
    TWebPicture picture;
    Load(picture);
    const auto kept = picture.Content();
    for (auto _ : state) {
        picture.ShowContent(kept);
        benchmark::DoNotOptimize(picture.Width());
    }
}
BENCHMARK(ShowKeptCoverPreview)->Unit(benchmark::kMicrosecond)->UseRealTime();
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);  // the picture hands its notifications to this thread
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
