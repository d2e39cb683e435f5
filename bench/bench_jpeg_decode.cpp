// Decoding a 12-megapixel JPEG through the picture-format registry against libjpeg-turbo's
// own djpeg on the same file. Both are timed by the wall clock: djpeg runs as a child process.
#include "Graphics.h"
#include "Jpeg.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
// A photo-like picture: smooth gradients with a little noise, written once per run and
// removed at exit.
struct TempJpeg {
    std::string path;
    TempJpeg()
    {
        QImage image(4000, 3000, QImage::Format_BGR888);
        uint32_t seed = 7;
        for (int y = 0; y < image.height(); ++y) {
            uint8_t* row = image.scanLine(y);
            for (int x = 0; x < image.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                int noise = static_cast<int>(seed >> 28) - 8;
                row[3 * x + 0] = static_cast<uint8_t>(std::clamp(x * 255 / 4000 + noise, 0, 255));
                row[3 * x + 1] = static_cast<uint8_t>(std::clamp(y * 255 / 3000 + noise, 0, 255));
                row[3 * x + 2] = static_cast<uint8_t>(std::clamp((x + y) * 255 / 7000 + noise, 0, 255));
            }
        }
        std::vector<uint8_t> bytes = EncodeJpeg(image, 90);
        path = (std::filesystem::temp_directory_path() / ("ombrelle-bench-" + std::to_string(::getpid()) + ".jpg")).string();
        WriteFileAtomically(path, bytes.data(), bytes.size());
    }
    ~TempJpeg() { std::filesystem::remove(path); }
};

const std::string& JpegFile()
{
    static const TempJpeg file;
    return file.path;
}

void TPictureDecode(benchmark::State& state)
{
    RegisterPictureFormats();
    const std::string& file = JpegFile();
    for (auto _ : state) {
        TPicture picture;
        picture.LoadFromFile(file);
        benchmark::DoNotOptimize(picture.Width());
    }
}
BENCHMARK(TPictureDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

void Djpeg(benchmark::State& state)
{
    const std::string& file = JpegFile();
    const char* argv[] = {"djpeg", "-outfile", "/dev/null", file.c_str(), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("djpeg is not installed (Debian package libjpeg-turbo-progs)");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("djpeg failed");
            return;
        }
    }
}
BENCHMARK(Djpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace

BENCHMARK_MAIN();
