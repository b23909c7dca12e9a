#include <gtest/gtest.h>

#include "framework/ProcessSlicer.h"

namespace dv {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// A clock that moves only when a record is handled, by the cost of one record.
struct FakeClock {
    microseconds now{0};
    ProcessSlicer::Clock clock() {
        return [this] { return now; };
    }
};

struct Tick {
    long quotaBefore;
    long quotaAfter;
    long records;
    microseconds took;
    bool goesOn;
};

// Runs ticks of records costing `cost` each until the pass of `total` records ends (or `ticks`
// ticks ran).
std::vector<Tick> runTicks(microseconds cost, long total, int ticks = 1000) {
    FakeClock time;
    ProcessSlicer slicer(time.clock());
    long done = 0;
    std::vector<Tick> log;
    for (int i = 0; i < ticks; ++i) {
        const long before = slicer.SliceQuota();
        const long doneBefore = done;
        const microseconds start = time.now;
        const bool goesOn = slicer.tick([&] {
            if (done == total) return false;
            ++done;
            time.now += cost;
            return true;
        });
        log.push_back({before, slicer.SliceQuota(), done - doneBefore, time.now - start, goesOn});
        if (!goesOn) break;
    }
    return log;
}

constexpr microseconds kTarget = ProcessSlicer::kTarget;

TEST(ProcessSlicer, AFastStepDoublesTheQuotaEveryTickUntilATickTakesHalfTheTarget) {
    const std::vector<Tick> ticks = runTicks(microseconds(100), 100'000'000, 12);
    ASSERT_EQ(ticks.size(), 12u);
    EXPECT_EQ(ticks.front().quotaBefore, 1);
    for (const Tick& tick : ticks) {
        // Every tick goes on until it has taken at least half the target; one that took under
        // 80 % of it leaves the quota at least doubled, and none that stayed under 150 % lowers
        // it.
        EXPECT_GE(tick.took * 2, kTarget);
        if (tick.took * 10 < kTarget * 8) {
            EXPECT_GE(tick.quotaAfter, tick.quotaBefore * 2);
        }
        EXPECT_GE(tick.quotaAfter, tick.quotaBefore);
    }
    // The second tick still doubles: the first one ended on a round that took it past 80 %.
    EXPECT_GT(ticks[1].quotaAfter, ticks[1].quotaBefore);
    // The first tick keeps doubling within itself: 1 + 2 + 4 + ... records.
    const long first = ticks.front().records;
    EXPECT_EQ((first + 1) & first, 0) << first;
    // Then the quota settles where a tick takes between half and 150 % of the target.
    const Tick& last = ticks.back();
    EXPECT_EQ(last.quotaBefore, last.quotaAfter);
    EXPECT_LE(last.took * 2, kTarget * 3);
}

TEST(ProcessSlicer, TheQuotaDoublesOncePerTickWhileATickStaysUnderEightyPercent) {
    // 0.3 s a record: 1 record takes 30 % (doubles, goes on), then 2 more reach 90 %.
    const std::vector<Tick> ticks = runTicks(milliseconds(300), 5);
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_EQ(ticks[0].records, 3);
    EXPECT_EQ(ticks[0].quotaAfter, 2);
    // The second tick: 2 records take 60 %: doubled to 4, and it ends (half the target).
    EXPECT_EQ(ticks[1].records, 2);
    EXPECT_EQ(ticks[1].quotaAfter, 4);
}

TEST(ProcessSlicer, ASlowStepHalvesTheQuotaButNeverBelowOne) {
    // Fast records first raise the quota, then the records turn slow.
    FakeClock time;
    ProcessSlicer slicer(time.clock());
    microseconds cost = microseconds(1000);
    for (int i = 0; i < 5; ++i) slicer.tick([&] { return time.now += cost, true; });
    const long raised = slicer.SliceQuota();
    ASSERT_GT(raised, 64);
    cost = milliseconds(2000);
    long previous = raised;
    for (int i = 0; i < 20; ++i) {
        slicer.tick([&] { return time.now += cost, true; });
        EXPECT_GT(slicer.lastTick() * 2, kTarget * 3);
        EXPECT_EQ(slicer.SliceQuota(), std::max(1L, previous / 2));
        previous = slicer.SliceQuota();
    }
    EXPECT_EQ(slicer.SliceQuota(), 1);
}

TEST(ProcessSlicer, ATickEndsAsSoonAsThePassEnds) {
    const std::vector<Tick> ticks = runTicks(microseconds(10), 5);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_FALSE(ticks[0].goesOn);
    EXPECT_EQ(ticks[0].records, 5);
}

TEST(ProcessSlicer, TheRealClockMeasuresTicks) {
    ProcessSlicer slicer;
    long steps = 0;
    EXPECT_FALSE(slicer.tick([&] { return ++steps < 3; }));
    EXPECT_EQ(steps, 3);
    EXPECT_LT(slicer.lastTick(), kTarget);
}

}  // namespace
}  // namespace dv
