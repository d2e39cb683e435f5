// The routines that share rows among threads give the same bytes on one thread and on several,
// with the rows cut at every place: jobs are forced onto a given number of threads however small
// they are, so that small pictures are split in as many ways as large ones.
#include "FlipRotate.h"
#include "Pictures.h"
#include "Reference.h"
#include "RowBands.h"
#include "resample.h"

#include <gtest/gtest.h>

#include <sched.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

class RowBandThreads : public testing::Test {
protected:
    void TearDown() override { ForceRowBandThreads(0); }

    // What f gives on one thread, and on each other count of threads.
    template <class F>
    void ExpectSameOnAnyThreads(F f)
    {
        ForceRowBandThreads(1);
        const Picture one = f();
        for (int threads : {2, 3, 8}) {
            ForceRowBandThreads(threads);
            EXPECT_EQ(f(), one) << threads << " threads";
        }
    }
};

TEST_F(RowBandThreads, StretchGivesTheSameBytesForEveryFilter)
{
    // Minifying and magnifying, strips one pixel wide or high, fewer rows than threads.
    const int jobs[][4] = {{40, 31, 17, 13}, {13, 11, 29, 23}, {1, 19, 5, 9}, {23, 1, 9, 2}, {9, 3, 21, 2}, {64, 48, 20, 15}};
    uint32_t seed = 2500;
    for (const auto& [sw, sh, dw, dh] : jobs) {
        const Picture p = RandomPicture(sw, sh, ++seed);
        auto src = ToBitmap(p);
        for (const TFilterEntry& f : ResampleFilters) {
            SCOPED_TRACE(testing::Message() << sw << "x" << sh << " to " << dw << "x" << dh << " " << f.Name);
            ExpectSameOnAnyThreads([&] {
                TBitmap dst(dw, dh, pf24bit);
                Stretch(*src, dst, f.Filter, f.Support);
                return FromBitmap(dst);
            });
        }
    }
}

TEST_F(RowBandThreads, TurnsAndMirrorsGiveTheSameBytes)
{
    // Sizes around the 8-pixel blocks and the tiles of the quarter turn.
    const int sizes[][2] = {{3, 2}, {17, 9}, {9, 17}, {70, 300}, {300, 70}, {263, 129}};
    uint32_t seed = 2600;
    for (const auto& [w, h] : sizes) {
        const Picture p = RandomPicture(w, h, ++seed);
        auto b = ToBitmap(p);
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        for (int angle : {90, 180, 270}) {
            ExpectSameOnAnyThreads([&] { return FromBitmap(*RotateBitmap(angle, *b)); });
            EXPECT_EQ(FromBitmap(*RotateBitmap(angle, *b)), RefRotate(angle, p)) << angle;
        }
        for (auto [flip, reverse] : {std::pair{true, false}, {false, true}})
            ExpectSameOnAnyThreads([&] { return FromBitmap(*FlipReverse(flip, reverse, *b)); });
    }
}

// Each row is worked on once, whatever the split; a job too small for a second thread stays on
// the calling thread, and a job never takes more threads than it is allowed.
TEST_F(RowBandThreads, EveryRowOnceOnNoMoreThreadsThanAllowed)
{
    struct Case {
        int forced, rows, minRows, maxThreads;
        int mostThreads;  // that may take part
    };
    const Case cases[] = {{1, 37, 1, 0, 1}, {3, 2, 1, 0, 2}, {8, 37, 1, 0, 8}, {0, 100, 1000, 0, 1}, {0, 5000, 1, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.forced << " forced, " << c.rows << " rows");
        ForceRowBandThreads(c.forced);
        std::vector<std::atomic<int>> times(c.rows);
        std::mutex m;
        std::set<std::thread::id> threads;
        ForEachRowBand(c.rows, c.minRows, [&](int first, int last) {
            {
                std::lock_guard lock(m);
                threads.insert(std::this_thread::get_id());
            }
            for (int r = first; r < last; ++r)
                ++times[r];
        }, c.maxThreads);
        for (int r = 0; r < c.rows; ++r)
            EXPECT_EQ(times[r], 1) << r;
        EXPECT_LE(static_cast<int>(threads.size()), c.mostThreads);
        EXPECT_LE(LastRowBandThreads(), c.mostThreads);
        if (c.mostThreads == 1) {
            EXPECT_EQ(*threads.begin(), std::this_thread::get_id());
        }
    }
}

TEST(AvailableCpus, FollowsTheAffinityMask)
{
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    EXPECT_EQ(AvailableCpus(), CPU_COUNT(&all));
    int first = 0;
    while (!CPU_ISSET(first, &all))
        ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(AvailableCpus(), 1);
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
}

}  // namespace
