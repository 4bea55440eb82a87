#include "walker/motion_clock.h"

#include <cmath>

int MotionClock::tick(double nowMs)
{
    if (!started_) {
        started_ = true;
        resumed_ = false;
        originMs_ = lastMs_ = nowMs;
        given_ = 0;
        return 0;
    }
    if (resumed_) {
        // As if the last tick had come one gap ago: the origin moves on by
        // the pause, so the frames keep their phase.
        resumed_ = false;
        const double pause = nowMs - lastGapMs_ - lastMs_;
        if (pause > 0.0) {
            originMs_ += pause;
            lastMs_ += pause;
        }
    }
    const double gap = nowMs - lastMs_;
    if (gap > kLongestGapMs)
        originMs_ += gap - kLongestGapMs;
    if (gap > 0.0) {
        lastMs_ = nowMs;
        lastGapMs_ = gap < kLongestGapMs ? gap : kLongestGapMs;
    }
    const long long due = std::llround(std::floor((lastMs_ - originMs_) * kFramesPerSecond / 1000.0 + 0.5));
    const long long fresh = due > given_ ? due - given_ : 0;
    given_ += fresh;
    return int(fresh);
}
