#include "FlipRotate.h"
#include "Pictures.h"
#include "Reference.h"

#include <gtest/gtest.h>

namespace {

TEST(RotateBitmap, QuarterTurnsAndFullTurns)
{
    const Picture src = RandomPicture(7, 5, 1);
    auto b = ToBitmap(src);
    EXPECT_EQ(FromBitmap(*RotateBitmap(0, *b)), src);
    EXPECT_EQ(FromBitmap(*RotateBitmap(360, *b)), src);
    EXPECT_EQ(FromBitmap(*RotateBitmap(450, *b)), FromBitmap(*RotateBitmap(90, *b)));
    EXPECT_EQ(FromBitmap(*RotateBitmap(720 + 270, *b)), FromBitmap(*Rotate270(*b)));
}

TEST(RotateBitmap, RefusesNegativeAndOddAngles)
{
    auto b = ToBitmap(RandomPicture(4, 4, 2));
    for (int angle : {-90, 45, 91, -1}) {
        try {
            RotateBitmap(angle, *b);
            ADD_FAILURE() << angle;
        } catch (const EBitmapError& e) {
            EXPECT_STREQ(e.what(), "Rotate:  Angle not positive multiple of 90 degrees");
        }
    }
}

TEST(RotateBitmap, NinetyTurnsCounterClockwise)
{
    Picture src = Filled(3, 2, {});
    src.SetPixel(0, 0, {1, 2, 3});
    src.SetPixel(2, 0, {4, 5, 6});
    auto r = RotateBitmap(90, *ToBitmap(src));
    ASSERT_EQ(r->Width(), 2);
    ASSERT_EQ(r->Height(), 3);
    Picture out = FromBitmap(*r);
    EXPECT_EQ(out.Pixel(0, 2), (Rgb{1, 2, 3}));  // the top-left corner becomes the bottom-left
    EXPECT_EQ(out.Pixel(0, 0), (Rgb{4, 5, 6}));  // the top-right corner becomes the top-left
    EXPECT_EQ(r->PixelFormat(), pf24bit);
}

TEST(FlipReverse, TwiceGivesTheSamePicture)
{
    auto b = ToBitmap(RandomPicture(9, 11, 3));
    auto once = FlipReverse(true, false, *b);
    EXPECT_NE(FromBitmap(*once), FromBitmap(*b));
    EXPECT_EQ(FromBitmap(*FlipReverse(true, false, *once)), FromBitmap(*b));
}

TEST(FlipReverse, FlipAndMirrorIsAHalfTurn)
{
    auto b = ToBitmap(RandomPicture(13, 6, 4));
    EXPECT_EQ(FromBitmap(*FlipReverse(true, true, *b)), FromBitmap(*RotateBitmap(180, *b)));
}

TEST(FlipRotate, RefuseOtherPixelFormatsWithoutTouchingTheSource)
{
    for (TPixelFormat f : {pf8bit, pf32bit}) {
        TBitmap b(5, 4, f);
        EXPECT_THROW(
            {
                try {
                    FlipReverse(true, false, b);
                } catch (const EBitmapError& e) {
                    EXPECT_STREQ(e.what(), "Can Flip/Reverse only 24-bit bitmap");
                    throw;
                }
            },
            EBitmapError);
        EXPECT_THROW(
            {
                try {
                    RotateBitmap(90, b);
                } catch (const EBitmapError& e) {
                    EXPECT_STREQ(e.what(), "Can Rotate only 24-bit bitmap");
                    throw;
                }
            },
            EBitmapError);
        // The format is checked before the angle.
        EXPECT_THROW(RotateBitmap(45, b), EBitmapError);
        EXPECT_THROW(Rotate90(b), EBitmapError);
        EXPECT_EQ(b.PixelFormat(), f);
    }
}

TEST(DiagonalMerge, SplitsAlongTheDiagonalByRepeatedAddition)
{
    const Picture a = Filled(400, 600, {10, 10, 10});
    const Picture b = Filled(400, 600, {200, 200, 200});
    Picture out = FromBitmap(*DiagonalMerge(*ToBitmap(a), *ToBitmap(b)));
    auto fromB = [&](int y) {
        int n = 0;
        for (int x = 0; x < 400; ++x)
            n += out.Pixel(x, y) == Rgb{200, 200, 200};
        return n;
    };
    EXPECT_EQ(fromB(0), 0);
    EXPECT_EQ(fromB(599), 399);
    EXPECT_EQ(out.Pixel(398, 599), (Rgb{200, 200, 200}));
    EXPECT_EQ(out.Pixel(399, 599), (Rgb{10, 10, 10}));
    EXPECT_EQ(fromB(6), 3);  // 6 x 400 / 600 would give 4
}

TEST(DiagonalMerge, RefusesASecondBitmapItCannotRead)
{
    auto a = ToBitmap(RandomPicture(8, 6, 5));
    auto smaller = ToBitmap(RandomPicture(8, 5, 6));
    auto narrower = ToBitmap(RandomPicture(7, 6, 7));
    EXPECT_THROW(DiagonalMerge(*a, *smaller), EBitmapError);
    EXPECT_THROW(DiagonalMerge(*a, *narrower), EBitmapError);
    TBitmap other(8, 6, pf32bit);
    EXPECT_THROW(DiagonalMerge(*a, other), EBitmapError);
    EXPECT_THROW(DiagonalMerge(other, *a), EBitmapError);
    // A larger second bitmap is read in its top-left part.
    const Picture big = RandomPicture(11, 9, 8);
    Picture topLeft(8, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            topLeft.SetPixel(x, y, big.Pixel(x, y));
    EXPECT_EQ(FromBitmap(*DiagonalMerge(*a, *ToBitmap(big))), RefDiagonalMerge(FromBitmap(*a), topLeft));
}

TEST(FlipRotate, EmptyBitmapsGiveEmptyResults)
{
    TBitmap empty(0, 0, pf24bit);
    EXPECT_EQ(FlipReverse(true, true, empty)->Width(), 0);
    EXPECT_EQ(RotateBitmap(90, empty)->Height(), 0);
    EXPECT_EQ(DiagonalMerge(empty, empty)->Width(), 0);
}

// The fast code against the plain definitions, on odd sizes including one-pixel strips and
// sizes that are not multiples of the tile.
TEST(FlipRotateReference, MatchesOnRandomPictures)
{
    const int sizes[][2] = {{1, 1}, {1, 7}, {7, 1}, {2, 3}, {5, 5}, {17, 3}, {63, 65}, {65, 129}, {131, 67}, {200, 1}};
    uint32_t seed = 100;
    for (auto [w, h] : sizes) {
        const Picture p = RandomPicture(w, h, ++seed);
        const Picture q = RandomPicture(w, h, ++seed);
        auto b = ToBitmap(p);
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        for (bool flip : {false, true})
            for (bool reverse : {false, true})
                EXPECT_EQ(FromBitmap(*FlipReverse(flip, reverse, *b)), RefFlipReverse(flip, reverse, p));
        for (int angle : {0, 90, 180, 270, 630})
            EXPECT_EQ(FromBitmap(*RotateBitmap(angle, *b)), RefRotate(angle, p));
        EXPECT_EQ(FromBitmap(*DiagonalMerge(*b, *ToBitmap(q))), RefDiagonalMerge(p, q));
        EXPECT_EQ(FromBitmap(*b), p);  // the source is left alone
    }
}

}  // namespace
