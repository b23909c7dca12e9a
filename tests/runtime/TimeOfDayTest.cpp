#include <gtest/gtest.h>

#include "runtime/TimeOfDay.h"

namespace dv {
namespace {

TEST(TimeOfDay, CountsHundredthsFromMidnightPlusOne) {
    EXPECT_EQ(timeValue(0, 0), 1);
    EXPECT_EQ(timeValue(0, 0, 1), 101);
    EXPECT_EQ(timeValue(8, 5, 30, 25), ((8 * 60 + 5) * 60 + 30) * 100 + 25 + 1);
    EXPECT_EQ(timeValue(23, 59, 59, 99), lastValidTime);
}

TEST(TimeOfDay, RefusesPartsOutOfRange) {
    EXPECT_EQ(timeValue(24, 0), 0);
    EXPECT_EQ(timeValue(8, 60), 0);
    EXPECT_EQ(timeValue(8, 0, 60), 0);
    EXPECT_EQ(timeValue(8, 0, 0, 100), 0);
    EXPECT_EQ(timeValue(-1, 0), 0);
    EXPECT_EQ(clockTime(0), ClockTime{});
    EXPECT_EQ(clockTime(lastValidTime + 1), ClockTime{});
    EXPECT_EQ(clockTime(-3), ClockTime{});
}

TEST(TimeOfDay, PartsRoundTrip) {
    for (int hour = 0; hour < 24; ++hour)
        for (int minute = 0; minute < 60; minute += 7)
            for (int second = 0; second < 60; second += 13)
                for (int hundredths : {0, 1, 50, 99}) {
                    const ClockTime parts{hour, minute, second, hundredths};
                    ASSERT_EQ(clockTime(timeValue(hour, minute, second, hundredths)), parts);
                }
}

TEST(TimeOfDay, NowFollowsTheClockUnlessFixed) {
    setFixedNow(timeValue(14, 30));
    EXPECT_EQ(now(), timeValue(14, 30));
    setFixedNow(0);
    const TimeValue clock = now();
    EXPECT_GE(clock, 1);
    EXPECT_LE(clock, lastValidTime);
}

}  // namespace
}  // namespace dv
