#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "maze/maze_check.h"

namespace {

// The page sets apart the findings that stop a maze from being played: they
// must be exactly the first `blocking` ones, whatever else the maze has; the
// desktop warns with the same ones.
TEST(MazeCheckTest, BlockingFindingsComeFirst)
{
    struct Case {
        const char* bytes;
        int blocking;
        const char* first;  // the first finding, or null for none
    } cases[] = {
        {"rrrrr\nr* xr\nrrrrr\n", 0, nullptr},
        {"rrrr\nr*x \nrrrr\n", 0, "cell 3 1: open cell on the edge of the grid, no wall is drawn beside it"},
        {"rrrr\nr* r\nrrrr\n", 1, "no exit (\"x\")"},
        {"rrrrrr\nr*rxrr\nrrRrrr\n", 1, "no exit reachable from the start"},
        {"  x\n", 1, "no start (\"*\"): the walker starts at cell 0 0"},
        {"rrrrr\nr  xr\nrrrrr\n", 2, "no start (\"*\"): the walker starts at cell 0 0"},
        {"", 2, "no start (\"*\"): the walker starts at cell 0 0"},
    };
    for (const Case& c : cases) {
        const CheckReport report = checkMazeBytes(c.bytes);
        EXPECT_EQ(report.blocking, c.blocking) << c.bytes;
        EXPECT_EQ(report.playable, c.blocking == 0) << c.bytes;
        ASSERT_LE(size_t(report.blocking), report.findings.size()) << c.bytes;
        if (c.first)
            EXPECT_EQ(report.findings.at(0), c.first) << c.bytes;
        else
            EXPECT_TRUE(report.findings.empty()) << c.bytes;
        // The desktop's warning gives the same reasons without the layout.
        maze m;
        m.read(c.bytes, std::strlen(c.bytes));
        const std::vector<std::string> blocking(report.findings.begin(), report.findings.begin() + report.blocking);
        EXPECT_EQ(whyNotWinnable(m), blocking) << c.bytes;
    }
}

}  // namespace
