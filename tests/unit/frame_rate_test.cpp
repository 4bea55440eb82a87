#include <gtest/gtest.h>

#include <climits>

#include "app/main2.h"
#include "walker/clock.h"
#include "walker/frame_rate.h"

namespace {

TEST(FrameRate, TitleText)
{
    EXPECT_EQ(frameRateTitle(gstr_AppName, 1), "Maze:  Current Frames Per Second: 1");
    EXPECT_EQ(frameRateTitle(gstr_AppName, INT_MAX), "Maze:  Current Frames Per Second: 2147483647");
    EXPECT_EQ(frameRateTitle(gstr_AppName, INT_MIN), "Maze:  Current Frames Per Second: -2147483648");
}

TEST(FrameRate, CounterRewritesTheTitleAfterMoreThanASecond)
{
    FrameRateCounter counter;
    int frames = -1;
    // The first frame already reads over a second, so it is counted alone.
    struct Tick { uint32_t ms; bool due; int frames; } ticks[] = {
        {2000, true, 1}, {2500, false, 0}, {3000, false, 0}, {3001, true, 3}, {3500, false, 0}, {4500, true, 2},
    };
    for (const Tick& t : ticks) {
        EXPECT_EQ(counter.tick(t.ms, &frames), t.due) << t.ms;
        if (t.due) {
            EXPECT_EQ(frames, t.frames) << t.ms;
        }
    }
}

TEST(FrameRate, ClockAlreadyReadsOverASecondAndIsMonotonic)
{
    uint32_t first = timeGetTime();
    EXPECT_GT(first, 1000u) << "the first frame must already rewrite the title";
    EXPECT_LT(first, 60u * 60 * 1000) << "counts from start-up, not from boot";
    EXPECT_GE(timeGetTime(), first);
}

}  // namespace
