#include "Pictures.h"
#include "Reference.h"
#include "resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(ResampleFilters, TableInOrder)
{
    const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell"};
    const TFilterProc filters[] = {BoxFilter, TriangleFilter, HermiteFilter, BellFilter, SplineFilter, Lanczos3Filter, MitchellFilter};
    const float supports[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
    ASSERT_EQ(ResampleFilters.size(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_STREQ(ResampleFilters[i].Name, names[i]);
        EXPECT_EQ(ResampleFilters[i].Filter, filters[i]);
        EXPECT_EQ(ResampleFilters[i].Support, supports[i]);
    }
}

TEST(ResampleFilters, Values)
{
    EXPECT_EQ(BoxFilter(0.5f), 1.0f);
    EXPECT_EQ(BoxFilter(-0.5f), 0.0f);
    EXPECT_EQ(BoxFilter(0.0f), 1.0f);
    EXPECT_EQ(Sinc(0.0f), 1.0f);
    EXPECT_EQ(Lanczos3Filter(3.0f), 0.0f);
    EXPECT_EQ(Lanczos3Filter(0.0f), 1.0f);
    EXPECT_EQ(TriangleFilter(0.25f), 0.75f);
    EXPECT_EQ(HermiteFilter(0.5f), 0.5f);
    EXPECT_EQ(BellFilter(0.0f), 0.75f);
    EXPECT_EQ(BellFilter(1.0f), 0.125f);
    EXPECT_EQ(SplineFilter(0.0f), static_cast<float>(2.0L / 3.0L));
    EXPECT_EQ(SplineFilter(1.0f), static_cast<float>(1.0L / 6.0L));
    EXPECT_EQ(MitchellFilter(0.0f), static_cast<float>(16.0L / 18.0L));
    EXPECT_NEAR(MitchellFilter(1.0f), 1.0 / 18.0, 1e-7);
    EXPECT_NEAR(Sinc(0.5f), 2 / 3.14159265358979, 1e-7);
    // Each filter is symmetric and vanishes at its support.
    for (const auto& f : ResampleFilters) {
        EXPECT_EQ(f.Filter(f.Support + 0.01f), 0.0f) << f.Name;
        EXPECT_EQ(f.Filter(-f.Support - 0.01f), 0.0f) << f.Name;
        if (f.Filter == BoxFilter)
            continue;
        for (float x : {0.1f, 0.37f, 0.5f, 0.9f, 1.2f, 2.5f})
            EXPECT_EQ(f.Filter(x), f.Filter(-x)) << f.Name << " " << x;
    }
}

// Just below 2 the outer branch is a difference of nearly equal terms, so the order in which
// -7/3, t and t^2 are multiplied shows in the last bit.
TEST(ResampleFilters, MitchellNearItsSupportMultipliesLeftToRight)
{
    const std::pair<float, uint32_t> cases[] = {
        {0x1.ffffa8p+0f, 0xae3c38e3}, {0x1.ffffd2p+0f, 0xad4db8e3}, {0x1.ffffd8p+0f, 0xad1b8e38},
        {0x1.ffffe4p+0f, 0xac9871c6}, {0x1.ffffeap+0f, 0xac3c38e2}, {0x1.fffffp+0f, 0xabc71c6f},
        {0x1.fffff6p+0f, 0xab1b8e33}, {0x1.fffffcp+0f, 0xa9c71c40},
    };
    for (auto [x, bits] : cases) {
        float y = MitchellFilter(x);
        uint32_t got;
        std::memcpy(&got, &y, sizeof got);
        EXPECT_EQ(got, bits) << std::hexfloat << x;
        EXPECT_EQ(MitchellFilter(-x), y);
    }
}

// Across the Lanczos3 filter's reach, sampled evenly in the bits and densely around the sine's
// zeros, and at arguments where the fast quotient alone would round differently.
TEST(ResampleFilters, SincAsInExtendedPrecision)
{
    int differ = 0;
    auto check = [&](float x) {
        if (Sinc(x) != RefSinc(x) && ++differ <= 5)
            ADD_FAILURE() << std::hexfloat << x;
    };
    uint32_t top;
    const float three = 3.0f;
    std::memcpy(&top, &three, sizeof top);
    for (uint32_t bits = 0x30000000; bits <= top; bits += 97) {
        float x;
        std::memcpy(&x, &bits, sizeof x);
        check(x);
        check(-x);
    }
    for (float zero : {1.0f, 2.0f, 3.0f}) {
        float up = zero, down = zero;
        for (int i = 0; i < 100000; ++i) {
            check(up = std::nextafter(up, 4.0f));
            check(down = std::nextafter(down, 0.0f));
        }
    }
    // Far out the extended sine's own pi is off enough for the double-precision quotient to
    // round the other way.
    for (float far : {0x1.9bc98p+17f, 0x1.dfe6ep+19f, 0x1.11586p+21f, 0x1.156494p+22f})
        check(far);
    EXPECT_EQ(differ, 0);
}

TEST(Stretch, RefusesAnEmptySource)
{
    TBitmap src(0, 0, pf24bit);
    TBitmap dst(4, 4, pf24bit);
    std::memset(dst.ScanLine(0), 7, 12);
    try {
        Stretch(src, dst, TriangleFilter, 1.0f);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Source bitmap too small");
    }
    EXPECT_EQ(dst.ScanLine(0)[0], 7);
}

TEST(Stretch, HalvingTheHeightWithTriangle)
{
    // Columns differ, rows are alike: across, the scale is 1 and each column keeps its own
    // source column; down, about four rows with weights near 1 in sum.
    Picture src(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            src.SetPixel(x, y, {static_cast<uint8_t>(x * 2), static_cast<uint8_t>(255 - x), static_cast<uint8_t>(x % 7 * 30)});
    TBitmap dst(100, 50, pf24bit);
    Stretch(*ToBitmap(src), dst, TriangleFilter, 1.0f);
    const Picture out = FromBitmap(dst);
    EXPECT_EQ(out, RefStretch(src, 100, 50, TriangleFilter, 1.0f));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            for (int ch = 0; ch < 3; ++ch)
                ASSERT_NEAR(out.At(x, y, ch), src.At(x, 0, ch), 1) << x << "," << y;
}

TEST(Stretch, OnePixelWideSourceToTen)
{
    Picture src(1, 4);
    for (int y = 0; y < 4; ++y)
        src.SetPixel(0, y, {static_cast<uint8_t>(10 + y), static_cast<uint8_t>(100 + y), static_cast<uint8_t>(200 + y)});
    TBitmap dst(10, 4, pf24bit);
    Stretch(*ToBitmap(src), dst, TriangleFilter, 1.0f);
    const Picture out = FromBitmap(dst);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(out.Pixel(x, y), src.Pixel(0, y)) << x << "," << y;
    // Wider filters reach past the single column on both sides and must not read beyond it.
    for (const auto& f : ResampleFilters) {
        TBitmap wide(10, 4, pf24bit);
        Stretch(*ToBitmap(src), wide, f.Filter, f.Support);
        EXPECT_EQ(FromBitmap(wide), RefStretch(src, 10, 4, f.Filter, f.Support)) << f.Name;
    }
}

TEST(Stretch, Lanczos3ClampsOvershoot)
{
    // A hard edge: the lobes push sums above 255 and below 0, which saturate instead of wrapping.
    Picture src(8, 1);
    for (int x = 0; x < 8; ++x)
        src.SetPixel(x, 0, x < 4 ? Rgb{0, 0, 0} : Rgb{255, 255, 255});
    TBitmap dst(29, 1, pf24bit);
    Stretch(*ToBitmap(src), dst, Lanczos3Filter, 3.0f);
    const Picture out = FromBitmap(dst);
    EXPECT_EQ(out, RefStretch(src, 29, 1, Lanczos3Filter, 3.0f));
    int zeros = 0, full = 0;
    for (int x = 0; x < 29; ++x) {
        zeros += out.At(x, 0, 0) == 0;
        full += out.At(x, 0, 0) == 255;
    }
    EXPECT_GT(zeros, 3);
    EXPECT_GT(full, 3);
    // Sums next to the edge pass 0 and 255 and must not wrap round to the other end.
    for (int x = 0; x < 12; ++x)
        EXPECT_LE(out.At(x, 0, 0), 55) << x;
    for (int x = 16; x < 29; ++x)
        EXPECT_GE(out.At(x, 0, 0), 200) << x;
}

TEST(Stretch, HalvesRoundToEven)
{
    // 2 -> 3 pixels with Triangle: the middle pixel is half of each end exactly.
    Picture src(2, 1);
    src.SetPixel(0, 0, {0, 0, 4});
    src.SetPixel(1, 0, {1, 3, 5});
    TBitmap dst(3, 1, pf24bit);
    Stretch(*ToBitmap(src), dst, TriangleFilter, 1.0f);
    EXPECT_EQ(FromBitmap(dst).Pixel(1, 0), (Rgb{0, 2, 4}));  // 0.5, 1.5, 4.5
}

TEST(Stretch, OnePixelDestinationFromALargerSource)
{
    const Picture src = RandomPicture(9, 7, 11);
    for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{5, 1}}) {
        TBitmap dst(w, h, pf24bit);
        Stretch(*ToBitmap(src), dst, MitchellFilter, 2.0f);
        EXPECT_EQ(FromBitmap(dst), RefStretch(src, w, h, MitchellFilter, 2.0f)) << w << "x" << h;
    }
}

TEST(Stretch, IntoItself)
{
    // The first pass has read all of the source before the second writes the destination.
    const Picture src = RandomPicture(11, 8, 13);
    auto b = ToBitmap(src);
    Stretch(*b, *b, HermiteFilter, 1.0f);
    EXPECT_EQ(FromBitmap(*b), RefStretch(src, 11, 8, HermiteFilter, 1.0f));
}

TEST(Stretch, OtherPixelFormatsKeepTheirFormatAndColours)
{
    const Picture src = RandomPicture(13, 9, 12);
    auto src24 = ToBitmap(src);
    TBitmap src32;
    src32.Assign(*src24);
    src32.SetPixelFormat(pf32bit);
    TBitmap dst(7, 5, pf32bit);
    Stretch(src32, dst, BellFilter, 1.5f);
    EXPECT_EQ(dst.PixelFormat(), pf32bit);
    dst.SetPixelFormat(pf24bit);
    EXPECT_EQ(FromBitmap(dst), RefStretch(src, 7, 5, BellFilter, 1.5f));
    TBitmap none(0, 3, pf24bit);
    Stretch(*src24, none, BellFilter, 1.5f);  // nothing to write
    EXPECT_EQ(none.Width(), 0);
}

// Every filter, magnifying and minifying, on random pictures of odd sizes: exactly the bytes of
// the plain definition, including sums that land next to a half, where the fast sum is redone.
TEST(StretchReference, EveryFilterMatchesOnRandomPictures)
{
    const int cases[][4] = {
        {17, 13, 5, 29},  {23, 9, 23, 4}, {2, 3, 9, 11},   {31, 27, 12, 12}, {3, 3, 1, 2},
        {7, 1, 20, 3},    {45, 37, 13, 71}, {9, 30, 3, 3}, {61, 5, 60, 5},   {100, 3, 7, 9},
    };
    uint32_t seed = 400;
    for (const auto& c : cases) {
        const Picture src = RandomPicture(c[0], c[1], ++seed);
        auto b = ToBitmap(src);
        for (const auto& f : ResampleFilters) {
            TBitmap dst(c[2], c[3], pf24bit);
            Stretch(*b, dst, f.Filter, f.Support);
            ASSERT_EQ(FromBitmap(dst), RefStretch(src, c[2], c[3], f.Filter, f.Support))
                << f.Name << " " << c[0] << "x" << c[1] << " -> " << c[2] << "x" << c[3];
        }
    }
}

}  // namespace

namespace {

TEST(StretchReference, RandomSizesAndFilters)
{
    std::mt19937 rng(2024);
    for (int n = 0; n < 60; ++n) {
        const int sw = 1 + rng() % 50, sh = 1 + rng() % 30, dw = 1 + rng() % 60, dh = 1 + rng() % 40;
        const Picture src = RandomPicture(sw, sh, rng(), n % 3 == 0 ? 2 : 256);
        auto b = ToBitmap(src);
        for (const auto& f : ResampleFilters) {
            TBitmap dst(dw, dh, pf24bit);
            Stretch(*b, dst, f.Filter, f.Support);
            ASSERT_EQ(FromBitmap(dst), RefStretch(src, dw, dh, f.Filter, f.Support))
                << f.Name << " " << sw << "x" << sh << " -> " << dw << "x" << dh;
        }
    }
}

}  // namespace
