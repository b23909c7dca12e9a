#pragma once

#include <chrono>
#include <optional>

namespace dv {

// A window's timer: due every `interval` hundredths of a second while set. Where timers fire at
// once (the headless front end) a set timer is always due.
class Timer {
  public:
    using Clock = std::chrono::steady_clock;

    // 0 stops the timer; a negative interval counts as 0.
    void set(int hundredths, Clock::time_point now = Clock::now());
    int interval() const { return interval_; }
    bool running() const { return interval_ > 0; }

    bool due(bool immediate, Clock::time_point now = Clock::now()) const {
        return running() && (immediate || now >= nextDue_);
    }
    // Called when the timer event is delivered: the next one is due one interval later.
    void fired(Clock::time_point now = Clock::now());
    // When the next event is due; nothing while stopped.
    std::optional<Clock::time_point> nextDue() const;

  private:
    int interval_ = 0;
    Clock::time_point nextDue_{};
};

}  // namespace dv
