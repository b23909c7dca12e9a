#pragma once

#include <cstdint>

namespace dv {

// The program's times: hundredths of a second after midnight plus one, so that midnight is 1,
// 23:59:59.99 is 8640000 and 0 means "no time".
using TimeValue = std::int32_t;

inline constexpr TimeValue lastValidTime = 8640000;

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

// 0 when a part is out of range (hours 0..23, minutes and seconds 0..59, hundredths 0..99).
TimeValue timeValue(int hour, int minute, int second = 0, int hundredths = 0);
// The parts of a time; all zero for 0 and for any value outside 1..8640000.
ClockTime clockTime(TimeValue time);

// The time now from the local clock, unless fixed by setFixedNow (the --time option, tests);
// setFixedNow(0) returns to the clock.
TimeValue now();
void setFixedNow(TimeValue time);

}  // namespace dv
