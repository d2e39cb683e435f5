#include "FifoGuard.h"
#include "Graphics.h"
#include "Jpeg.h"
#include "OlePicture.h"
#include "PeakMemory.h"
#include "PictureLimits.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A real small JPEG whose frame header then claims width x height.
std::vector<uint8_t> JpegClaiming(int width, int height)
{
    std::vector<uint8_t> jpeg = EncodeJpeg(QImage(8, 8, QImage::Format_BGR888), 90);
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width);
            break;
        }
    return jpeg;
}

// A bitmap file header claiming width x height, no pixels behind it.
std::vector<uint8_t> BmpClaiming(int32_t width, int32_t height)
{
    std::vector<uint8_t> bmp(54, 0);
    auto put = [&bmp](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, 54);
    put(10, 54);
    put(14, 40);
    put(18, static_cast<uint32_t>(width));
    put(22, static_cast<uint32_t>(height));
    bmp[26] = 1;
    bmp[28] = 24;
    return bmp;
}

// A progressive grey JPEG of a DC scan, then an AC scan again and again, as a scan bomb is made.
std::vector<uint8_t> ProgressiveJpeg(int size, int scans)
{
    jpeg_compress_struct info {};
    jpeg_error_mgr err {};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = info.image_height = static_cast<JDIMENSION>(size);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    const jpeg_scan_info script[2] = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}};
    info.scan_info = script;
    info.num_scans = 2;
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(size), 128);
    for (JSAMPROW rows[1] = {row.data()}; info.next_scanline < info.image_height;)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> jpeg(buffer, buffer + length - 2);  // without its end of image
    std::free(buffer);
    // The last scan with its Huffman table in front, repeated.
    size_t dht = jpeg.size() - 2;
    while (!(jpeg[dht] == 0xFF && jpeg[dht + 1] == 0xC4))
        --dht;
    const std::vector<uint8_t> scan(jpeg.begin() + static_cast<long>(dht), jpeg.end());
    for (int i = 2; i < scans; ++i)
        jpeg.insert(jpeg.end(), scan.begin(), scan.end());
    jpeg.insert(jpeg.end(), {0xFF, 0xD9});
    return jpeg;
}

// A 24-bit bitmap file of black pixels, sparse on the disk; top-down for a negative height.
String BigBmp(const String& path, int32_t width, int32_t height)
{
    const std::vector<uint8_t> bmp = BmpClaiming(width, height);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());
    EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(54 + ((3LL * width + 3) & ~3LL) * std::abs(height))), 0);
    return path;
}

// An icon file of one image whose own header, a bitmap's or a PNG's, claims width x height.
std::vector<uint8_t> IconClaiming(uint32_t width, uint32_t height, bool png)
{
    std::vector<uint8_t> ico = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0, 40, 0, 0, 0, 22, 0, 0, 0};
    auto put = [&ico](uint32_t v, bool bigEndian) {
        for (int i = 0; i < 4; ++i)
            ico.push_back(static_cast<uint8_t>(v >> (bigEndian ? 24 - 8 * i : 8 * i)));
    };
    if (png) {
        ico.insert(ico.end(), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
        put(width, true);
        put(height, true);
    } else {
        put(40, false);
        put(width, false);
        put(height * 2, false);  // the colour rows and the mask rows
    }
    ico.resize(22 + 40);
    return ico;
}

String Refusal(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "";
}

class PictureFileTest : public ::testing::Test {
protected:
    String Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        String path = dir.path().toStdString() + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(PictureFileTest, PixelBombsAreRefusedNamingTheirSizeBeforeMemoryIsSpent)
{
    TPicture picture;
    String jpeg = Write("bomb.jpg", JpegClaiming(20000, 20000));
    String why;
    long growth = PeakGrowthKb([&] { why = Refusal([&] { picture.LoadFromFile(jpeg); }); });
    EXPECT_EQ(why, "JPEG image is too large: 20000 x 20000 pixels (at most 64 megapixels)");
    EXPECT_LT(growth, 32 * 1024);
    // Through the decoder itself, as downloaded pictures go.
    std::vector<uint8_t> bytes = JpegClaiming(60000, 60000);
    growth = PeakGrowthKb([&] { why = Refusal([&] { DecodeJpeg(bytes.data(), bytes.size()); }); });
    EXPECT_EQ(why, "JPEG image is too large: 60000 x 60000 pixels (at most 64 megapixels)");
    EXPECT_LT(growth, 32 * 1024);

    String bmp = Write("bomb.bmp", BmpClaiming(30000, -30000));
    EXPECT_EQ(Refusal([&] { picture.LoadFromFile(bmp); }),
              "Bitmap image is too large: 30000 x 30000 pixels (at most 64 megapixels)");
    // Within the limit the header passes and the missing pixels are the decoder's to find.
    String small = Write("small.jpg", JpegClaiming(1000, 1000));
    EXPECT_EQ(Refusal([&] { picture.LoadFromFile(small); }).find("too large"), String::npos);
}

TEST_F(PictureFileTest, BitmapsAndIconsOpenUpToTheLimitAndAreRefusedBeyondItNamingTheirSize)
{
    const auto beyond = [](const char* kind, int w, int h) {
        return Format("%s image is too large: %d x %d pixels (at most 64 megapixels)", kind, w, h);
    };
    const std::vector<std::tuple<String, String, int>> cases = {  // file, refusal, width opened
        {BigBmp(Write("33.bmp", {}), 5800, 5800), "", 5800},
        {BigBmp(Write("64.bmp", {}), 8192, -8192), "", 8192},
        {BigBmp(Write("over.bmp", {}), 8193, 8192), beyond("Bitmap", 8193, 8192), 0},
        {Write("bitmap.ico", IconClaiming(9000, 9000, false)), beyond("Icon", 9000, 9000), 0},
        {Write("png.ico", IconClaiming(10000, 7000, true)), beyond("Icon", 10000, 7000), 0},
    };
    for (const auto& [file, refusal, width] : cases) {
        SCOPED_TRACE(file);
        TPicture picture;
        EXPECT_EQ(Refusal([&] { picture.LoadFromFile(file); }), refusal);
        EXPECT_EQ(picture.Width(), width);
        // Downloaded pictures go through the picture loader: the same limits hold there.
        TMemoryStream stream;
        stream.LoadFromFile(file);
        std::unique_ptr<TOlePicture> loaded;
        if (width != 8192) {
            EXPECT_EQ(OleLoadPicture(stream, static_cast<int64_t>(stream.Data().size()), loaded) == TOleLoadResult::Loaded,
                      width > 0);
        }
        std::remove(file.c_str());
    }
}

TEST_F(PictureFileTest, ProgressiveJpegsOfEndlessScansAreRefusedNamingTheLimit)
{
    for (const int scans : {2, kMaxJpegScans, kMaxJpegScans + 1, 5000}) {
        SCOPED_TRACE(scans);
        const String file = Write("scans.jpg", ProgressiveJpeg(1024, scans));
        TPicture picture;
        const bool opens = scans <= kMaxJpegScans;
        EXPECT_EQ(Refusal([&] { picture.LoadFromFile(file); }),
                  opens ? String() : Format("JPEG image has too many scans (at most %d)", kMaxJpegScans));
        EXPECT_EQ(picture.Width(), opens ? 1024 : 0);
    }
}

TEST_F(PictureFileTest, DecoderErrorsCarryTheirText)
{
    std::vector<uint8_t> jpeg = EncodeJpeg(QImage(8, 8, QImage::Format_BGR888), 90);
    jpeg.resize(20);
    String why = Refusal([&] { DecodeJpeg(jpeg.data(), jpeg.size()); });
    EXPECT_EQ(why.rfind("JPEG error #", 0), 0u) << why;
    EXPECT_GT(why.size(), why.find(": ") + 2) << why;
    std::vector<uint8_t> notJpeg = {'B', 'M', 0, 0};
    why = Refusal([&] { DecodeJpeg(notJpeg.data(), notJpeg.size()); });
    EXPECT_NE(why.find("Not a JPEG file"), String::npos) << why;
}

TEST_F(PictureFileTest, HugeFileIsRefusedWithoutReadingIt)
{
    String huge = dir.path().toStdString() + "/huge.jpg";
    std::vector<uint8_t> head = JpegClaiming(8, 8);
    Write("huge.jpg", head);
    ASSERT_EQ(::truncate(huge.c_str(), 2LL << 30), 0);  // sparse: no disk is used
    TPicture picture;
    auto start = std::chrono::steady_clock::now();
    String why;
    long growth = PeakGrowthKb([&] { why = Refusal([&] { picture.LoadFromFile(huge); }); });
    EXPECT_EQ(why, "The picture \"" + huge + "\" is too large: 2147483648 bytes (at most 256 MB)");
    EXPECT_LT(growth, 32 * 1024);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(PictureFileTest, FifoPictureIsRefusedAtOnce)
{
    TPicture picture;
    for (const char* name : {"pipe.jpg", "pipe.bmp", "pipe.ico"}) {
        String fifo = dir.path().toStdString() + "/" + name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        String why;
        CallNotWaitingOn(fifo, [&] { why = Refusal([&] { picture.LoadFromFile(fifo); }); });
        EXPECT_EQ(why, "Cannot open file \"" + fifo + "\". Not a regular file");
    }
}
