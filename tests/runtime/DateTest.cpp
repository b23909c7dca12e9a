#include <gtest/gtest.h>

#include <ctime>

#include "runtime/Date.h"

namespace dv {
namespace {

TEST(Date, CountsDaysFromTheEpoch) {
    EXPECT_EQ(dayNumber(1801, 1, 1), 4);
    EXPECT_EQ(civilDate(4), (CivilDate{1801, 1, 1}));
    EXPECT_EQ(dayNumber(2024, 1, 1), 81453);
    EXPECT_EQ(dayNumber(9999, 12, 31), lastValidDay);
    EXPECT_EQ(civilDate(lastValidDay), (CivilDate{9999, 12, 31}));
}

TEST(Date, RefusesDatesOutsideTheCalendarOrTheRange) {
    EXPECT_EQ(dayNumber(1800, 12, 31), 0);
    EXPECT_EQ(dayNumber(10000, 1, 1), 0);
    EXPECT_EQ(dayNumber(2024, 13, 1), 0);
    EXPECT_EQ(dayNumber(2024, 1, 0), 0);
    EXPECT_EQ(dayNumber(2024, 1, 32), 0);
    EXPECT_EQ(dayNumber(2024, 4, 31), 0);
    EXPECT_EQ(civilDate(0), CivilDate{});
    EXPECT_EQ(civilDate(3), CivilDate{});
    EXPECT_EQ(civilDate(lastValidDay + 1), CivilDate{});
}

TEST(Date, KnowsLeapYearsAcrossCenturies) {
    EXPECT_EQ(dayNumber(1900, 2, 29), 0);
    EXPECT_NE(dayNumber(2000, 2, 29), 0);
    EXPECT_EQ(dayNumber(2100, 2, 29), 0);
    EXPECT_EQ(dayNumber(1900, 3, 1) - dayNumber(1900, 2, 28), 1);
    EXPECT_EQ(dayNumber(2000, 3, 1) - dayNumber(2000, 2, 28), 2);
    EXPECT_EQ(dayNumber(2001, 1, 1) - dayNumber(2000, 1, 1), 366);
    EXPECT_EQ(dayNumber(1901, 1, 1) - dayNumber(1900, 1, 1), 365);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
}

TEST(Date, WeekdayIsTheDayNumberModuloSeven) {
    EXPECT_EQ(weekday(dayNumber(2024, 1, 1)), 1);    // a Monday
    EXPECT_EQ(weekday(dayNumber(2000, 1, 1)), 6);    // a Saturday
    EXPECT_EQ(weekday(dayNumber(1801, 1, 1)), 4);    // a Thursday
    EXPECT_EQ(weekday(dayNumber(2024, 12, 29)), 0);  // a Sunday
}

TEST(Date, EveryValidDayRoundTripsAndFollowsTheCalendar) {
    CivilDate previous = civilDate(firstValidDay);
    for (DayNumber day = firstValidDay + 1; day <= lastValidDay; ++day) {
        const CivilDate date = civilDate(day);
        ASSERT_EQ(dayNumber(date), day);
        const bool nextDay = date.year == previous.year && date.month == previous.month &&
                             date.day == previous.day + 1;
        const bool nextMonth =
            date.day == 1 && previous.day == daysInMonth(previous.year, previous.month) &&
            ((date.month == previous.month + 1 && date.year == previous.year) ||
             (date.month == 1 && previous.month == 12 && date.year == previous.year + 1));
        ASSERT_TRUE(nextDay || nextMonth) << day;
        previous = date;
    }
}

TEST(Date, TodayFollowsTheClockUnlessFixed) {
    setFixedToday(dayNumber(2024, 6, 15));
    EXPECT_EQ(today(), dayNumber(2024, 6, 15));
    setFixedToday(0);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const DayNumber clock = today();
    // The clock may pass midnight between the two readings.
    EXPECT_LE(clock - dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday), 1);
    EXPECT_GE(clock, dayNumber(2024, 1, 1));
}

}  // namespace
}  // namespace dv
