#include <gtest/gtest.h>

#include "walker/drawing_clock.h"

namespace {

const double kFrameMs = 1000.0 / 60;

// Ticks at 60 Hz from `*nowMs` for `count` frames, drawing or not; returns the last reading.
double run(DrawingClock& clock, double* nowMs, int count, bool drawing)
{
    double reading = 0.0;
    for (int i = 0; i < count; ++i) {
        *nowMs += kFrameMs;
        reading = clock.tick(*nowMs, drawing);
    }
    return reading;
}

TEST(DrawingClock, RunsOverTheFramesThatDrawOnly)
{
    DrawingClock clock;
    double now = 5000.0;
    EXPECT_DOUBLE_EQ(clock.tick(now, true), 5000.0) << "the first frame reads the clock";
    EXPECT_NEAR(run(clock, &now, 30, true), 5500.0, 1e-6);
    // A second of frames with nothing to draw, then the loop stopped for a minute.
    EXPECT_NEAR(run(clock, &now, 60, false), 5500.0, 1e-6);
    now += 60000.0;
    clock.resume();
    // The first frame after it counts as one gap, then each its own.
    EXPECT_NEAR(clock.tick(now, true), 5500.0 + kFrameMs, 1e-6);
    EXPECT_NEAR(run(clock, &now, 29, true), 6000.0, 1e-6);
    EXPECT_NEAR(clock.tick(now - 5.0, true), 6000.0, 1e-6) << "time that runs back gives nothing";
}

}  // namespace
