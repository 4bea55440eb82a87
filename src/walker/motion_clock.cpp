#include "walker/motion_clock.h"

#include <cmath>

int MotionClock::tick(double nowMs)
{
    if (!started_) {
        started_ = true;
        originMs_ = lastMs_ = nowMs;
        given_ = 0;
        return 0;
    }
    const double gap = nowMs - lastMs_;
    if (gap > kLongestGapMs)
        originMs_ += gap - kLongestGapMs;
    if (gap > 0.0)
        lastMs_ = nowMs;
    const long long due = std::llround(std::floor((lastMs_ - originMs_) * kFramesPerSecond / 1000.0 + 0.5));
    const long long fresh = due > given_ ? due - given_ : 0;
    given_ += fresh;
    return int(fresh);
}
