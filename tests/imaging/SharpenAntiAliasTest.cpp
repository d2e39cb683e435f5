#include "Assertions.h"
#include "FlipRotate.h"
#include "Pictures.h"
#include "Reference.h"

#include <gtest/gtest.h>

namespace {

TEST(SharpenBitmap, LeavesAFlatPictureAlone)
{
    const Picture grey = Filled(9, 7, {128, 128, 128});
    auto b = ToBitmap(grey);
    SharpenBitmap(*b, *b, 2.0f);
    EXPECT_EQ(FromBitmap(*b), grey);
}

TEST(SharpenBitmap, ABrightPixelAmongDarkOnesSaturates)
{
    Picture p = Filled(3, 3, {100, 100, 100});
    p.SetPixel(1, 1, {200, 150, 100});
    auto b = ToBitmap(p);
    SharpenBitmap(*b, *b, 2.0f);
    // 200: 400 - 120 = 280, clamped; 150: 300 - 110 = 190; 100: 200 - 100 = 100.
    EXPECT_EQ(FromBitmap(*b).Pixel(1, 1), (Rgb{255, 190, 100}));
}

TEST(SharpenBitmap, AssertionsRaiseExceptions)
{
    auto small = ToBitmap(RandomPicture(2, 5, 1));
    try {
        SharpenBitmap(*small, *small, 2.0f);
        ADD_FAILURE();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Bitmap must be at least 3x3", 0), 0u) << e.what();
    }
    auto b = ToBitmap(RandomPicture(5, 5, 2));
    const Picture before = FromBitmap(*b);
    for (float alpha : {1.0f, 6.0f}) {
        try {
            SharpenBitmap(*b, *b, alpha);
            ADD_FAILURE() << alpha;
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Alpha must be >1 and <6", 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(FromBitmap(*b), before);
}

TEST(SharpenBitmap, IntoAnotherBitmapTakesTheSourceSizeAndFormat)
{
    const Picture p = RandomPicture(6, 4, 3);
    auto src = ToBitmap(p);
    TBitmap dst(2, 2, pf32bit);
    SharpenBitmap(*src, dst, 2.5f);
    EXPECT_EQ(dst.PixelFormat(), pf24bit);
    EXPECT_EQ(FromBitmap(dst), RefSharpen(p, 2.5f, false));
    EXPECT_EQ(FromBitmap(*src), p);
}

TEST(AntiAliasBitmap, OneColourChangesNothing)
{
    const Picture p = Filled(6, 5, {30, 60, 90});
    auto b = ToBitmap(p);
    AntiAliasBitmap(*b, 10);
    EXPECT_EQ(FromBitmap(*b), p);
}

TEST(AntiAliasBitmap, PullsADifferingNeighbourASixthOfTheWay)
{
    // Black, white, black in one row: the white centre pulls both black neighbours.
    Picture p(3, 1);
    p.SetPixel(0, 0, {0, 0, 0});
    p.SetPixel(1, 0, {255, 255, 255});
    p.SetPixel(2, 0, {0, 0, 0});
    auto b = ToBitmap(p);
    AntiAliasBitmap(*b, 10);
    const Picture out = FromBitmap(*b);
    // Round(255 + (0 - 255) x 50 / 60) = Round(42.5) = 42, half to even.
    EXPECT_EQ(out.Pixel(0, 0), (Rgb{42, 42, 42}));
    EXPECT_EQ(out.Pixel(2, 0), (Rgb{42, 42, 42}));
    // Then the centre 42 pulls the white: Round(42 + 213 x 50 / 60) = Round(219.5) = 220.
    EXPECT_EQ(out.Pixel(1, 0), (Rgb{220, 220, 220}));
}

TEST(AntiAliasBitmap, WeightsOutsideTheUsualRange)
{
    // Below 0 the neighbour overshoots and saturates instead of wrapping round.
    Picture p(2, 1);
    p.SetPixel(0, 0, {0, 100, 250});
    p.SetPixel(1, 0, {255, 100, 10});
    auto b = ToBitmap(p);
    AntiAliasBitmap(*b, -40);
    EXPECT_EQ(FromBitmap(*b).Pixel(0, 0), (Rgb{0, 100, 255}));
    EXPECT_THROW(AntiAliasBitmap(*b, -50), EBitmapError);
}

TEST(AntiAliasBitmap, RefusesOtherPixelFormats)
{
    for (TPixelFormat f : {pf8bit, pf32bit}) {
        TBitmap b(5, 3, f);
        EXPECT_THROW(AntiAliasBitmap(b, 10), EBitmapError);
    }
}

TEST(FilterReference, SharpenAndAntiAliasMatchOnRandomPictures)
{
    const int sizes[][2] = {{3, 3}, {3, 9}, {9, 3}, {5, 7}, {31, 17}, {64, 33}, {101, 3}};
    uint32_t seed = 200;
    for (auto [w, h] : sizes) {
        for (int levels : {256, 3}) {
            const Picture p = RandomPicture(w, h, ++seed, levels);
            SCOPED_TRACE(testing::Message() << w << "x" << h << " levels " << levels);
            for (float alpha : {2.0f, 1.0001f, 3.3f, 5.999f}) {
                auto inPlace = ToBitmap(p);
                SharpenBitmap(*inPlace, *inPlace, alpha);
                EXPECT_EQ(FromBitmap(*inPlace), RefSharpen(p, alpha, true)) << alpha;
                auto src = ToBitmap(p);
                TBitmap dst;
                SharpenBitmap(*src, dst, alpha);
                EXPECT_EQ(FromBitmap(dst), RefSharpen(p, alpha, false)) << alpha;
            }
            for (int percent : {10, 0, 1, 77, 1000, -49, -51, -500, 2147483647}) {
                auto b = ToBitmap(p);
                AntiAliasBitmap(*b, percent);
                EXPECT_EQ(FromBitmap(*b), RefAntiAlias(p, percent)) << percent;
            }
        }
    }
}

TEST(FilterReference, AntiAliasOnTinyPicturesWhereNeighboursCoincide)
{
    // One or two rows or columns: the wrapped neighbours are the same pixels, changed twice.
    const int sizes[][2] = {{1, 1}, {1, 4}, {2, 1}, {2, 2}, {3, 1}, {3, 2}, {2, 5}};
    uint32_t seed = 300;
    for (auto [w, h] : sizes) {
        const Picture p = RandomPicture(w, h, ++seed);
        auto b = ToBitmap(p);
        AntiAliasBitmap(*b, 10);
        EXPECT_EQ(FromBitmap(*b), RefAntiAlias(p, 10)) << w << "x" << h;
    }
}

}  // namespace
