#include "runtime/TimeOfDay.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace dv {
namespace {

std::atomic<TimeValue> fixedNow{0};

bool inRange(int value, int limit) {
    return value >= 0 && value < limit;
}

}  // namespace

TimeValue timeValue(int hour, int minute, int second, int hundredths) {
    if (!inRange(hour, 24) || !inRange(minute, 60) || !inRange(second, 60) ||
        !inRange(hundredths, 100))
        return 0;
    return ((hour * 60 + minute) * 60 + second) * 100 + hundredths + 1;
}

ClockTime clockTime(TimeValue time) {
    if (time < 1 || time > lastValidTime) return {};
    const int elapsed = time - 1;
    return {elapsed / 360000, elapsed / 6000 % 60, elapsed / 100 % 60, elapsed % 100};
}

TimeValue now() {
    if (const TimeValue fixed = fixedNow.load(); fixed != 0) return fixed;
    const auto clock = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto sinceSecond = clock - std::chrono::system_clock::from_time_t(seconds);
    const auto hundredths =
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count() / 10;
    return timeValue(local.tm_hour, local.tm_min, local.tm_sec % 60,
                     static_cast<int>(hundredths < 0 ? 0 : hundredths % 100));
}

void setFixedNow(TimeValue time) {
    fixedNow.store(time);
}

}  // namespace dv
