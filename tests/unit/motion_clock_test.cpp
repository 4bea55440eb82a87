#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "walker/motion_clock.h"

namespace {

// Ticks at `hz` for `count` drawn frames, each off its time by a jitter of
// up to `jitterMs` (a fixed pattern); returns the motion frames of each tick.
std::vector<int> run(MotionClock& clock, double hz, int count, double jitterMs, double startMs = 1000.0)
{
    std::vector<int> frames;
    for (int i = 0; i < count; ++i) {
        const double jitter = jitterMs * ((i * 7) % 5 - 2) / 2.0;
        frames.push_back(clock.tick(startMs + i * 1000.0 / hz + (i ? jitter : 0.0)));
    }
    return frames;
}

TEST(MotionClock, SixtyMotionFramesASecondAtAnyDisplayRate)
{
    struct Case {
        double hz, jitterMs;
        int each;  // the motion frames every tick gets, or -1 for no one count
    };
    for (const Case& c : {Case{30, 0, 2}, Case{60, 0, 1}, Case{60, 4, 1}, Case{120, 0, -1}, Case{144, 1, -1},
                          Case{36, 2, -1}}) {
        SCOPED_TRACE(std::to_string(c.hz) + " Hz, jitter " + std::to_string(c.jitterMs) + " ms");
        MotionClock clock;
        const int count = int(c.hz) * 3 + 1;  // three seconds
        const std::vector<int> frames = run(clock, c.hz, count, c.jitterMs);
        EXPECT_EQ(frames[0], 0) << "the first tick is the origin";
        int total = 0;
        const double perTick = 60.0 / c.hz;
        for (int i = 1; i < count; ++i) {
            total += frames[size_t(i)];
            // Never a burst or a long wait: each tick gets what its time holds, give or take one.
            EXPECT_GE(frames[size_t(i)], int(std::floor(perTick)) - 1) << "tick " << i;
            EXPECT_LE(frames[size_t(i)], int(std::ceil(perTick)) + 1) << "tick " << i;
            if (c.each >= 0) {
                EXPECT_EQ(frames[size_t(i)], c.each) << "tick " << i << ", despite any jitter";
            }
        }
        EXPECT_EQ(total, 180) << "three seconds";
    }
}

TEST(MotionClock, ALongGapCountsAsAQuarterSecondAndResetStartsAfresh)
{
    MotionClock clock;
    EXPECT_EQ(clock.tick(0.0), 0);
    EXPECT_EQ(clock.tick(1000.0 / 60), 1);
    EXPECT_EQ(clock.tick(60000.0), 15) << "a minute in a hidden tab";
    EXPECT_EQ(clock.tick(60000.0 + 1000.0 / 60), 1) << "then the normal pace";
    EXPECT_EQ(clock.tick(60000.0), 0) << "time that runs back gives nothing";
    clock.reset();
    EXPECT_EQ(clock.tick(90000.0), 0);
    EXPECT_EQ(clock.tick(90000.0 + 100.0), 6);
}

TEST(MotionClock, AResumedClockLeavesThePauseOutAndKeepsItsPace)
{
    struct Case {
        double hz;
        int first;  // the motion frames of the first tick after the pause
    };
    for (const Case& c : {Case{30, 2}, Case{60, 1}, Case{120, 1}}) {
        SCOPED_TRACE(std::to_string(c.hz) + " Hz");
        MotionClock clock;
        const double gap = 1000.0 / c.hz;
        int total = 0;
        double now = 0.0;
        for (int i = 0; i <= int(c.hz); ++i, now += gap)
            total += clock.tick(now);
        EXPECT_EQ(total, 60);
        // Ten seconds with no tick, then on at the same pace.
        now += 10000.0;
        clock.resume();
        const int first = clock.tick(now);
        EXPECT_EQ(first, c.first) << "as the tick after a key in a loop that never stopped";
        total = first;
        for (int i = 1; i <= int(c.hz); ++i)
            total += clock.tick(now + i * gap);
        EXPECT_EQ(total, 60 + c.first) << "a second later: 60 more, none from the pause";
    }
    MotionClock fresh;
    fresh.resume();
    EXPECT_EQ(fresh.tick(500.0), 0) << "a clock that never ticked starts at its origin";
}

}  // namespace
