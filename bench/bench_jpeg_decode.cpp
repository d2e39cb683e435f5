// Decoding a 12-megapixel JPEG through the picture-format registry against libjpeg-turbo called
// in this process on the same file, the two timed alternately.
#include "Graphics.h"
#include "Jpeg.h"
#include "PictureFormats.h"
#include "SideBySide.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <memory>
#include <vector>
#include <unistd.h>

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

// The codec called directly, as a program that knows its job would: the file read into memory
// with one call, decoded row by row into a buffer of 4-byte aligned blue, green, red rows that
// is kept from one picture to the next.
void BareDecode(const std::string& path)
{
    static std::vector<uint8_t> bytes, pixels;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return;
    std::fseek(f, 0, SEEK_END);
    bytes.resize(static_cast<size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    jpeg_decompress_struct info {};
    jpeg_error_mgr err {};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(got));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t stride = (static_cast<size_t>(info.output_width) * 3 + 3) / 4 * 4;
    pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {pixels.data() + stride * info.output_scanline};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
}

void BM_TPictureDecode(benchmark::State& state)
{
    RegisterPictureFormats();
    const std::string& file = JpegFile();
    bench::SideBySide(
        state, "libjpeg",
        [&] {
            TPicture picture;
            picture.LoadFromFile(file);
            benchmark::DoNotOptimize(picture.Width());
        },
        [&] { BareDecode(file); });
}
BENCHMARK(BM_TPictureDecode)->UseManualTime()->MinTime(2.0)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
