#pragma once

#include <cstdint>

namespace dv {

// The program's dates are day numbers: 28 December 1800 is day 0, so 1 January 1801 (the first
// valid date) is day 4 and 31 December 9999 (the last) is day 2994626. 0 means "no date".
// A day number modulo 7 is the weekday, 0 Sunday to 6 Saturday.
using DayNumber = std::int32_t;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

inline constexpr DayNumber firstValidDay = 4;
inline constexpr DayNumber lastValidDay = 2994626;

bool isLeapYear(int year);
// Days of the month, 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// The day number of a calendar date, 0 when it is not a valid date from 1801 to 9999.
DayNumber dayNumber(int year, int month, int day);
inline DayNumber dayNumber(const CivilDate& date) {
    return dayNumber(date.year, date.month, date.day);
}
// The calendar date of a day number; all zero for 0 and for any day outside the valid range.
CivilDate civilDate(DayNumber day);
// 0 Sunday, 1 Monday, .. 6 Saturday.
int weekday(DayNumber day);

// Today's day number from the local clock, unless fixed by setFixedToday (the --today option,
// tests); setFixedToday(0) returns to the clock.
DayNumber today();
void setFixedToday(DayNumber day);

}  // namespace dv
