#include "framework/ProcessSlicer.h"

namespace dv {

ProcessSlicer::ProcessSlicer(Clock clock) : clock_(std::move(clock)) {}

ProcessSlicer::Clock ProcessSlicer::steadyClock() {
    return [] {
        return std::chrono::duration_cast<Duration>(
            std::chrono::steady_clock::now().time_since_epoch());
    };
}

bool ProcessSlicer::tick(const std::function<bool()>& step) {
    const Duration start = clock_();
    bool goesOn = true;
    for (;;) {
        for (long done = 0; done < quota_ && goesOn; ++done) goesOn = step();
        lastTick_ = clock_() - start;
        if (!goesOn) break;
        if (lastTick_ * 10 < kTarget * 8) quota_ *= 2;
        if (lastTick_ * 2 >= kTarget) break;
    }
    if (lastTick_ * 2 > kTarget * 3 && quota_ > 1) quota_ /= 2;
    return goesOn;
}

}  // namespace dv
