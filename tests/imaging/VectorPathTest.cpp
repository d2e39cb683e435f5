// Each vector path the processor has, forced one at a time, against the plain path and the plain
// definitions, byte for byte, on random pictures of awkward sizes: one-pixel strips, sizes that
// are not multiples of the vector step, the 8-pixel block or the tile, and sizes just around them.
#include "FlipRotate.h"
#include "Pictures.h"
#include "Reference.h"
#include "VectorPath.h"
#include "resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

class EachVectorPath : public testing::TestWithParam<TVectorPath> {
protected:
    void SetUp() override
    {
        best_ = ActiveVectorPath();
        if (!VectorPathAvailable(GetParam()))
            GTEST_SKIP() << "the processor lacks this path";
    }
    void TearDown() override { ForceVectorPath(best_); }

    // The result of f on the plain path, then on the path under test.
    template <class F>
    auto PlainThenTested(F f)
    {
        ForceVectorPath(TVectorPath::Plain);
        auto plain = f();
        EXPECT_TRUE(ForceVectorPath(GetParam()));
        return std::make_pair(std::move(plain), f());
    }

private:
    TVectorPath best_ = TVectorPath::Plain;
};

const int kSizes[][2] = {{1, 1},   {1, 37},  {37, 1},  {2, 9},   {8, 8},    {9, 8},    {8, 9},
                         {15, 16}, {16, 15}, {11, 6},  {6, 11},  {17, 23},  {64, 64},  {127, 129},
                         {129, 7}, {7, 129}, {300, 1}, {1, 300}, {261, 133}, {133, 261}};

// Calls f(picture, its bitmap) for a random picture of each size.
template <class F>
void ForEachPicture(uint32_t seed, F f)
{
    for (const auto& [w, h] : kSizes) {
        const Picture p = RandomPicture(w, h, ++seed);
        auto b = ToBitmap(p);
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        f(p, *b);
        EXPECT_EQ(FromBitmap(*b), p);  // the source is left alone
    }
}

TEST_P(EachVectorPath, QuarterTurnsMatchThePlainPath)
{
    ForEachPicture(500, [&](const Picture& p, const TBitmap& b) {
        for (int angle : {90, 270}) {
            auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*RotateBitmap(angle, b)); });
            EXPECT_EQ(tested, plain) << angle;
            EXPECT_EQ(tested, RefRotate(angle, p)) << angle;
        }
    });
}

// Large enough for the bands of rows to be moved on several threads.
TEST_P(EachVectorPath, LargePicturesMatchThePlainPath)
{
    const Picture p = RandomPicture(2003, 1201, 555);
    auto b = ToBitmap(p);
    for (int angle : {90, 180, 270}) {
        auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*RotateBitmap(angle, *b)); });
        EXPECT_TRUE(tested == plain) << angle;
        EXPECT_TRUE(tested == RefRotate(angle, p)) << angle;
    }
    for (bool flip : {false, true}) {
        auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*FlipReverse(flip, !flip, *b)); });
        EXPECT_TRUE(tested == plain) << flip;
        EXPECT_TRUE(tested == RefFlipReverse(flip, !flip, p)) << flip;
    }
}

TEST_P(EachVectorPath, MirrorsMatchThePlainPath)
{
    ForEachPicture(600, [&](const Picture& p, const TBitmap& b) {
        for (bool flip : {false, true}) {
            auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*FlipReverse(flip, true, b)); });
            EXPECT_EQ(tested, plain) << flip;
            EXPECT_EQ(tested, RefFlipReverse(flip, true, p)) << flip;
        }
    });
    // Every row width from 1 to 40: each count of whole groups of five and ten, and each rest.
    for (int w = 1; w <= 40; ++w) {
        const Picture p = RandomPicture(w, 2, 700 + w);
        auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*FlipReverse(false, true, *ToBitmap(p))); });
        EXPECT_EQ(tested, plain) << w;
        EXPECT_EQ(tested, RefFlipReverse(false, true, p)) << w;
    }
}

// Into another bitmap, where the rows are shared among threads: widths around the 16- and 32-byte
// steps, strengths whose weights reach 2^16 and beyond, and a picture large enough to be split.
TEST_P(EachVectorPath, SharpenMatchesThePlainPath)
{
    const float strengths[] = {2.0f, std::nextafter(1.0f, 2.0f), 3.3f, std::nextafter(6.0f, 0.0f)};
    auto check = [&](const Picture& p) {
        auto src = ToBitmap(p);
        for (float alpha : strengths) {
            auto [plain, tested] = PlainThenTested([&] {
                TBitmap dst;
                SharpenBitmap(*src, dst, alpha);
                return FromBitmap(dst);
            });
            EXPECT_EQ(tested, plain) << alpha;
            EXPECT_EQ(tested, RefSharpen(p, alpha, false)) << alpha;
        }
    };
    for (int w = 3; w <= 36; ++w) {
        SCOPED_TRACE(testing::Message() << "width " << w);
        check(RandomPicture(w, 4, 800 + w));
        check(RandomPicture(w, 3, 900 + w, 3));  // few levels: flat runs and saturation
    }
    for (auto [w, h] : {std::pair{3, 37}, {129, 7}, {1001, 1100}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        check(RandomPicture(w, h, 1000 + w));
    }
}

// Groups of four and eight source rows, with a short last group; magnifying and minifying.
TEST_P(EachVectorPath, StretchMatchesThePlainPath)
{
    const int jobs[][4] = {{1, 1, 3, 2}, {1, 9, 5, 4}, {9, 1, 4, 3}, {13, 11, 7, 5}, {17, 9, 31, 19}, {37, 5, 20, 3}, {6, 23, 40, 10}};
    uint32_t seed = 1100;
    for (const auto& [sw, sh, dw, dh] : jobs) {
        const Picture p = RandomPicture(sw, sh, ++seed);
        auto src = ToBitmap(p);
        for (const TFilterEntry& f : ResampleFilters) {
            SCOPED_TRACE(testing::Message() << sw << "x" << sh << " to " << dw << "x" << dh << " " << f.Name);
            auto [plain, tested] = PlainThenTested([&] {
                TBitmap dst(dw, dh, pf24bit);
                Stretch(*src, dst, f.Filter, f.Support);
                return FromBitmap(dst);
            });
            EXPECT_EQ(tested, plain);
            EXPECT_EQ(tested, RefStretch(p, dw, dh, f.Filter, f.Support));
        }
    }
}

TEST(VectorPath, ForcingAPathTheProcessorLacksChangesNothing)
{
    const TVectorPath before = ActiveVectorPath();
    EXPECT_TRUE(VectorPathAvailable(TVectorPath::Plain));
    for (TVectorPath path : {TVectorPath::Plain, TVectorPath::Ssse3, TVectorPath::Avx2}) {
        if (!VectorPathAvailable(path)) {
            EXPECT_FALSE(ForceVectorPath(path));
            EXPECT_EQ(ActiveVectorPath(), before);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, EachVectorPath,
                         testing::Values(TVectorPath::Plain, TVectorPath::Ssse3, TVectorPath::Avx2),
                         [](const testing::TestParamInfo<TVectorPath>& info) {
                             switch (info.param) {
                             case TVectorPath::Ssse3: return "Ssse3";
                             case TVectorPath::Avx2: return "Avx2";
                             default: return "Plain";
                             }
                         });

}  // namespace
