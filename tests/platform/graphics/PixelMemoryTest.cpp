// The pool of large pixel buffers: a reused buffer never shows the last picture where a new
// bitmap must start black, the pool stays within its cap, and a buffer far too large for a
// picture is left for one it fits.
#include "Graphics.h"
#include "Jpeg.h"
#include "PixelMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// 4899 pixels of 3 bytes leave 3 bytes of padding in each row; 700 rows make a large buffer.
constexpr int kW = 4899, kH = 700;

void Fill(TBitmap& b, uint8_t value)
{
    for (int y = 0; y < b.Height(); ++y)
        std::memset(b.ScanLine(y), value, b.BytesPerLine());
}

bool AllBytes(const TBitmap& b, uint8_t value, bool withPadding)
{
    const int bytes = withPadding ? b.BytesPerLine() : 3 * b.Width();
    for (int y = 0; y < b.Height(); ++y) {
        const uint8_t* row = b.ScanLine(y);
        if (!std::all_of(row, row + bytes, [&](uint8_t v) { return v == value; }))
            return false;
    }
    return true;
}

bool PaddingClear(const TBitmap& b)
{
    for (int y = 0; y < b.Height(); ++y) {
        const uint8_t* row = b.ScanLine(y);
        if (!std::all_of(row + 3 * b.Width(), row + b.BytesPerLine(), [](uint8_t v) { return v == 0; }))
            return false;
    }
    return true;
}

TEST(PixelMemory, AReusedBufferStartsBlackForANewBitmap)
{
    {
        TBitmap old(kW, kH, pf24bit);
        Fill(old, 0xA5);
    }
    const size_t kept = PixelPoolState().Buffers;
    ASSERT_GE(kept, 1u);
    TBitmap fresh(kW, kH, pf24bit);
    EXPECT_EQ(PixelPoolState().Buffers, kept - 1);  // the freed buffer was taken again
    EXPECT_TRUE(AllBytes(fresh, 0, true));
}

TEST(PixelMemory, AnUnclearedBitmapStillHasClearPadding)
{
    {
        TBitmap old(kW, kH, pf24bit);
        Fill(old, 0xFF);
    }
    auto b = TBitmap::NewForOverwrite(kW, kH, pf24bit);
    EXPECT_TRUE(PaddingClear(*b));
    // Small bitmaps come from the heap, the same way.
    auto small = TBitmap::NewForOverwrite(5, 7, pf24bit);
    EXPECT_TRUE(PaddingClear(*small));
}

TEST(PixelMemory, ResizingKeepsTheOldPixelsAndClearsTheRest)
{
    {
        TBitmap old(kW, 2 * kH, pf24bit);
        Fill(old, 0x5A);
    }
    TBitmap b(kW, kH / 2, pf24bit);
    Fill(b, 7);
    b.SetSize(kW, 2 * kH);  // may take the buffer freed above
    for (int y = 0; y < b.Height(); ++y)
        ASSERT_EQ(b.ScanLine(y)[3 * kW - 1], y < kH / 2 ? 7 : 0) << y;
}

TEST(PixelMemory, ThePoolKeepsAFewBuffersWithinItsCap)
{
    {
        std::vector<std::unique_ptr<TBitmap>> many;
        for (int i = 0; i < 8; ++i)
            many.push_back(std::make_unique<TBitmap>(kW, kH + i, pf24bit));
    }
    const TPixelPoolState state = PixelPoolState();
    EXPECT_GE(state.Buffers, 1u);
    EXPECT_LE(state.Buffers, 4u);
    EXPECT_LE(state.Bytes, size_t{512} << 20);
}

TEST(PixelMemory, ABufferFarLargerThanThePictureIsLeftInThePool)
{
    {
        TBitmap big(8000, 6000, pf24bit);
    }
    TBitmap small(kW, kH, pf24bit);
    EXPECT_TRUE(AllBytes(small, 0, true));
    EXPECT_GE(PixelPoolState().Bytes, size_t{8000} * 3 * 6000);  // the big buffer is still kept
}

// The decoder writes every row of its uncleared image: decoding into a reused buffer that still
// holds another picture gives the same bytes as decoding into fresh memory.
TEST(PixelMemory, AJpegDecodedIntoReusedMemoryShowsOnlyItsOwnPixels)
{
    QImage picture(2400, 1200, QImage::Format_BGR888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < 3 * picture.width(); ++x)
            picture.scanLine(y)[x] = static_cast<uint8_t>(x * 7 + y * 3);
    const std::vector<uint8_t> jpeg = EncodeJpeg(picture, 90);
    const QImage first = DecodeJpeg(jpeg.data(), jpeg.size());
    const QByteArray firstBytes(reinterpret_cast<const char*>(first.constBits()), first.sizeInBytes());
    {
        TBitmap stale(2400, 1200, pf24bit);
        Fill(stale, 0xA5);
    }
    const size_t kept = PixelPoolState().Buffers;
    const QImage second = DecodeJpeg(jpeg.data(), jpeg.size());
    EXPECT_EQ(PixelPoolState().Buffers, kept - 1);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(second.constBits()), second.sizeInBytes()), firstBytes);
}

// Against Qt's own conversion, on odd widths (the last pixel of a row is read on its own) and on
// a picture large enough for reused memory.
TEST(PixelMemory, WideningTo32BitPixelsKeepsEveryColour)
{
    uint32_t seed = 1;
    for (auto [w, h] : {std::pair{1, 1}, {1, 5}, {5, 1}, {3, 3}, {17, 9}, {kW, kH}}) {
        QImage bgr(w, h, QImage::Format_BGR888);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < 3 * w; ++x)
                bgr.scanLine(y)[x] = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
        const QImage wide = WidenToRgb32(bgr);
        EXPECT_EQ(wide.format(), QImage::Format_RGB32);
        EXPECT_TRUE(wide == bgr.convertToFormat(QImage::Format_RGB32)) << w << "x" << h;
    }
}

}  // namespace
