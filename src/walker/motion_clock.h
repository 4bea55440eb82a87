#pragma once

// Paces a walk by the wall clock: 60 motion frames a second, whatever rate
// the display draws at. A frame loop asks at each drawn frame how many motion
// frames have come due since the last one and plays each of them in turn, so
// a step takes 11/60 s and a turn 10/60 s on a 30, 60 or 144 Hz display, and
// no motion frame is skipped or played twice.
class MotionClock {
public:
    static constexpr double kFramesPerSecond = 60.0;
    // A longer gap between two drawn frames (a hidden tab, a stalled
    // browser) counts as this long: the walk waits rather than leaping ahead.
    static constexpr double kLongestGapMs = 250.0;

    // Starts afresh: the next tick is the origin and hands out no frame.
    void reset() { started_ = false; }

    // Goes on after the loop stopped ticking while nothing moved: the pause
    // is left out, and the next tick hands out the frames of one gap as long
    // as the last one before it, as the tick after a key would in a loop that
    // never stopped (one a tick at 60 Hz, two at 30).
    void resume() { resumed_ = started_; }

    // The motion frames due at `nowMs` (a monotonic clock) that earlier ticks
    // have not handed out: the time since the origin rounded to whole motion
    // frames, so a display at 60 Hz whose frames jitter by up to half a
    // motion frame still gets one each.
    int tick(double nowMs);

private:
    bool started_ = false;
    bool resumed_ = false;
    double originMs_ = 0.0;
    double lastMs_ = 0.0;
    double lastGapMs_ = 1000.0 / kFramesPerSecond;  // between the last two ticks, at most kLongestGapMs
    long long given_ = 0;
};
