#include "runtime/Timer.h"

namespace dv {
namespace {

Timer::Clock::duration hundredths(int count) {
    return std::chrono::milliseconds(count * 10LL);
}

}  // namespace

void Timer::set(int interval, Clock::time_point now) {
    interval_ = interval > 0 ? interval : 0;
    nextDue_ = now + hundredths(interval_);
}

void Timer::fired(Clock::time_point now) {
    nextDue_ = now + hundredths(interval_);
}

std::optional<Timer::Clock::time_point> Timer::nextDue() const {
    if (!running()) return std::nullopt;
    return nextDue_;
}

}  // namespace dv
