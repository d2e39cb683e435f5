// Each vector path the processor has, forced one at a time, against the plain path and the plain
// definitions, byte for byte, on random pictures of awkward sizes: one-pixel strips, sizes that
// are not multiples of the 8-pixel block or of the tile, and sizes just around them.
#include "FlipRotate.h"
#include "Pictures.h"
#include "Reference.h"
#include "VectorPath.h"

#include <gtest/gtest.h>

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

TEST_P(EachVectorPath, QuarterTurnsMatchThePlainPath)
{
    uint32_t seed = 500;
    for (auto [w, h] : kSizes) {
        const Picture p = RandomPicture(w, h, ++seed);
        auto b = ToBitmap(p);
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        for (int angle : {90, 270}) {
            auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*RotateBitmap(angle, *b)); });
            EXPECT_EQ(tested, plain) << angle;
            EXPECT_EQ(tested, RefRotate(angle, p)) << angle;
        }
        EXPECT_EQ(FromBitmap(*b), p);
    }
}

TEST_P(EachVectorPath, MirrorsMatchThePlainPath)
{
    uint32_t seed = 600;
    for (auto [w, h] : kSizes) {
        const Picture p = RandomPicture(w, h, ++seed);
        auto b = ToBitmap(p);
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        for (bool flip : {false, true}) {
            auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*FlipReverse(flip, true, *b)); });
            EXPECT_EQ(tested, plain) << flip;
            EXPECT_EQ(tested, RefFlipReverse(flip, true, p)) << flip;
        }
    }
    // Every row width from 1 to 40: each count of whole groups of five and ten, and each rest.
    for (int w = 1; w <= 40; ++w) {
        const Picture p = RandomPicture(w, 2, ++seed);
        auto [plain, tested] = PlainThenTested([&] { return FromBitmap(*FlipReverse(false, true, *ToBitmap(p))); });
        EXPECT_EQ(tested, plain) << w;
        EXPECT_EQ(tested, RefFlipReverse(false, true, p)) << w;
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
