#include "GifBuilder.h"
#include "GifFrames.h"
#include "Jpeg.h"
#include "OlePicture.h"
#include "PictureDecoding.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<uint8_t> Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

// Top half red, bottom half blue.
QImage TwoBands(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

TOleLoadResult Load(const std::vector<uint8_t>& bytes, std::unique_ptr<TOlePicture>& picture)
{
    TMemoryStream stream;
    stream.Data() = bytes;
    return OleLoadPicture(stream, static_cast<int64_t>(bytes.size()), picture);
}
}  // namespace

TEST(PictureLoader, ReadsEachFormatWithItsHimetricExtent)
{
    QImage image = TwoBands(96, 48);
    std::vector<std::pair<const char*, std::vector<uint8_t>>> files = {
        {"BMP", Encode(image, "BMP")}, {"PNG", Encode(image, "PNG")}, {"ICO", Encode(image, "ICO")},
        {"JPEG", EncodeJpeg(image.convertToFormat(QImage::Format_BGR888), 95)},
        {"GIF", Bytes(MakeGif(96, 48, {{0, 0, 96, 48, 0, 0, kGifRed}}))}};
    for (auto& [name, bytes] : files) {
        std::unique_ptr<TOlePicture> picture;
        ASSERT_EQ(Load(bytes, picture), TOleLoadResult::Loaded) << name;
        EXPECT_EQ(picture->HimetricWidth(), 2540) << name;
        EXPECT_EQ(picture->HimetricHeight(), 1270) << name;
        EXPECT_EQ(HimetricToPixels(picture->HimetricWidth(), 96), 96);
        EXPECT_EQ(HimetricToPixels(picture->HimetricWidth(), 120), 120);
    }
}

TEST(PictureLoader, RefusesWhatItCannotRead)
{
    std::unique_ptr<TOlePicture> picture;
    EXPECT_EQ(Load(Bytes("plain text, not a picture"), picture), TOleLoadResult::InvalidFormat);
    EXPECT_EQ(Load({}, picture), TOleLoadResult::InvalidFormat);
    EXPECT_EQ(Load(Bytes("GIF89a"), picture), TOleLoadResult::InvalidFormat);
    EXPECT_EQ(Load(Bytes(MakeGif(0, 0, {{0, 0, 0, 0, 0, 0, kGifRed}})), picture), TOleLoadResult::NoPicture);
    EXPECT_EQ(picture, nullptr);
    // Only the given length is read: a picture cut short is no picture.
    std::vector<uint8_t> gif = Bytes(MakeGif(4, 4, {{0, 0, 4, 4, 0, 0, kGifRed}}));
    TMemoryStream stream;
    stream.Data() = gif;
    EXPECT_EQ(OleLoadPicture(stream, static_cast<int64_t>(gif.size()) - 8, picture), TOleLoadResult::InvalidFormat);
}

TEST(PictureLoader, RendersUprightBothWaysTheCallersDrawIt)
{
    std::unique_ptr<TOlePicture> picture;
    ASSERT_EQ(Load(Encode(TwoBands(4, 4), "PNG"), picture), TOleLoadResult::Loaded);
    int hmW = picture->HimetricWidth(), hmH = picture->HimetricHeight();
    for (int way = 0; way < 2; ++way) {
        TBitmap target(20, 20);
        target.Canvas().Brush.Color = clWhite;
        target.Canvas().FillRect({0, 0, 20, 20});
        TRect r{2, 2, 10, 10};
        if (way == 0)  // bottom edge, height upward
            picture->Render(target.Canvas(), r.Left, r.Bottom, 8, -8, 0, 0, hmW, hmH, r);
        else  // top edge, source read from its top down
            picture->Render(target.Canvas(), r.Left, r.Top, 8, 8, 0, hmH, hmW, -hmH, r);
        EXPECT_EQ(target.Canvas().Pixel(3, 3), clRed) << way;
        EXPECT_EQ(target.Canvas().Pixel(9, 9), clBlue) << way;
        EXPECT_EQ(target.Canvas().Pixel(10, 10), clWhite) << way;
        EXPECT_EQ(target.Canvas().Pixel(1, 1), clWhite) << way;
    }
}

TEST(GifFrames, FramesNeedTheirWholeDescriptorInsideTheData)
{
    const std::string header("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13);
    const std::string frame = std::string("\x21\xF9\x04\x00\x05\x00\x00\x00\x2C", 9) + std::string(8, '\x01') + '\0';
    std::vector<uint8_t> data = Bytes(header + frame);
    ASSERT_EQ(CountGifFrameMarkers(data.data(), data.size()), 1);
    TGifFrameMarker marker;
    ASSERT_TRUE(FindGifFrameMarker(data.data(), data.size(), 1, marker));
    EXPECT_EQ(marker.Position, 13u);
    EXPECT_EQ(marker.Delay, 5);
    EXPECT_EQ(marker.Width, 0x0101);
    for (size_t cut = 1; cut <= frame.size(); ++cut)
        EXPECT_EQ(CountGifFrameMarkers(data.data(), data.size() - cut), 0) << cut;
    uint16_t w = 0, h = 0;
    EXPECT_FALSE(ReadGifScreenSize(data.data(), 12, w, h));
    EXPECT_TRUE(ReadGifScreenSize(data.data(), 13, w, h));
    EXPECT_FALSE(IsGifData(data.data(), 4));
}

TEST(GifFrames, DecodingKeepsTheChosenFrameAndItsPlace)
{
    std::vector<uint8_t> gif = Bytes(MakeGif(10, 8, {{0, 0, 10, 8, 5, 0, kGifRed},
                                                     {3, 2, 4, 4, 0, 0, kGifBlue},
                                                     {1, 1, 2, 2, 7, 0, kGifWhite}}));
    TGifFrameInfo info;
    auto first = DecodePictureData(gif, true, 0, info);
    EXPECT_EQ(first->Image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(info.ScreenWidth, 10);
    EXPECT_EQ(info.ScreenHeight, 8);
    auto second = DecodePictureData(gif, true, 2, info);
    EXPECT_EQ(second->Image().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(second->PixelWidth(), 4);
    EXPECT_EQ(info.FrameLeft, 3);
    EXPECT_EQ(info.FrameTop, 2);
    auto whole = DecodePictureData(gif, false, 2, info);
    EXPECT_EQ(whole->Image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(info.FrameLeft, 0);
    EXPECT_THROW(
        {
            try {
                DecodePictureData(Bytes("no picture"), true, 0, info);
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message, "Could not load image. Invalid format");
                throw;
            }
        },
        Exception);
}
