#include "walker/drawing_clock.h"

double DrawingClock::tick(double nowMs, bool drawing)
{
    if (!started_) {
        started_ = true;
        resumed_ = false;
        readingMs_ = lastMs_ = nowMs;
        return readingMs_;
    }
    double gap = nowMs - lastMs_;
    if (resumed_) {
        resumed_ = false;
        gap = lastGapMs_;
    }
    if (gap > 0.0) {
        lastGapMs_ = gap;
        if (drawing)
            readingMs_ += gap;
    }
    if (nowMs > lastMs_)
        lastMs_ = nowMs;
    return readingMs_;
}
