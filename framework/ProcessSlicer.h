#pragma once

#include <chrono>
#include <functional>

namespace dv {

// Divides a pass into slices, one a timer tick, so that the window stays responsive: each tick
// handles `quota` records at a time until at least half the target time has passed. The quota
// (SliceQuota, starting at 1) doubles whenever the work so far in a tick took under 80 % of the
// target, and is halved at the end of a tick that took more than 150 % of it (never below 1).
class ProcessSlicer {
  public:
    using Duration = std::chrono::microseconds;
    // The clock the ticks are measured with; steady time unless a test gives its own.
    using Clock = std::function<Duration()>;

    // The target time of a tick: 100 hundredths of a second.
    static constexpr Duration kTarget = std::chrono::seconds(1);

    explicit ProcessSlicer(Clock clock = steadyClock());

    // One tick: `step` handles one record and returns false when the pass has ended. Returns
    // false when the pass ended during this tick.
    bool tick(const std::function<bool()>& step);

    long SliceQuota() const { return quota_; }
    // The time the last tick took.
    Duration lastTick() const { return lastTick_; }

    static Clock steadyClock();

  private:
    Clock clock_;
    long quota_ = 1;
    Duration lastTick_{0};
};

}  // namespace dv
