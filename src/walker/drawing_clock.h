#pragma once

// The time a frame loop spends drawing: a clock that runs over the frames
// that draw only, so that a rate counted on it (the frame-rate text of a
// page that draws only when something changed) is the rate of the frames
// drawn while it draws, not thinned by the still spells in which it has
// nothing to draw.
class DrawingClock {
public:
    // One animation frame at `nowMs` (a monotonic clock) that had something
    // to draw (`drawing`, drawn or skipped while the GPU was busy) or not.
    // Returns the clock's reading: `nowMs` at the first frame, then on by the
    // time since the frame before for each frame that had something to draw.
    double tick(double nowMs, bool drawing);

    // The loop stopped ticking for a while: the next frame counts as coming
    // one gap after the last, as long as the gap before it.
    void resume() { resumed_ = started_; }

private:
    bool started_ = false;
    bool resumed_ = false;
    double readingMs_ = 0.0;
    double lastMs_ = 0.0;
    double lastGapMs_ = 0.0;
};
