#include <gtest/gtest.h>

#include <climits>

#include "app/main2.h"
#include "platform/clock.h"

namespace {

TEST(FrameRate, TitleText)
{
    EXPECT_EQ(frameRateTitle(1), "Maze:  Current Frames Per Second: 1");
    EXPECT_EQ(frameRateTitle(INT_MAX), "Maze:  Current Frames Per Second: 2147483647");
    EXPECT_EQ(frameRateTitle(INT_MIN), "Maze:  Current Frames Per Second: -2147483648");
}

TEST(FrameRate, ClockAlreadyReadsOverASecondAndIsMonotonic)
{
    uint32_t first = timeGetTime();
    EXPECT_GT(first, 1000u) << "the first frame must already rewrite the title";
    EXPECT_LT(first, 60u * 60 * 1000) << "counts from start-up, not from boot";
    EXPECT_GE(timeGetTime(), first);
}

}  // namespace
