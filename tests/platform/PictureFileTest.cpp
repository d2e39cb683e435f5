#include "FifoGuard.h"
#include "Graphics.h"
#include "Jpeg.h"
#include "OlePicture.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Resident memory figures of this process, in kilobytes.
long StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    return 0;
}

// The peak of resident memory while call runs, above what was resident before it.
long PeakGrowthKb(const std::function<void()>& call)
{
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
    long before = StatusKb("VmRSS:");
    call();
    return StatusKb("VmHWM:") - before;
}

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
