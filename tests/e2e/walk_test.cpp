// Walking the real program with real keys: what is ahead, turns, blocked
// steps, a key path to the exit.

#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

// Start (1, 1) facing +x: two open cells, then "g". Turning right looks down
// column 1 at "y"; turning left faces the border "c" next door. The exit
// (4, 3) is reached by w w d w w a w.
const char kWalkMaze[] =
    "ccccccc\n"
    "c*  g c\n"
    "c m   c\n"
    "cy  x c\n"
    "ccccccc\n";

class Walk : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(maze.start());
        w = findWindow(maze);
        ASSERT_NE(w, 0u) << maze.describe();
        ASSERT_TRUE(waitUntilStable(w)) << maze.describe();
    }

    // The colour in the middle of the window once the picture has settled.
    Rgb centre(const char* name)
    {
        Image shot;
        EXPECT_TRUE(waitUntilStable(w, &shot)) << maze.describe();
        if (shot.pixels.empty())
            return Rgb{};
        Rgb c = shot.at(shot.width / 2, shot.height / 2);
        if (HasFailure())
            saveDebugImage(shot, name);
        return c;
    }

    Program maze{MAZE_BINARY, {}, mazeFiles(kWalkMaze)};
    Window w = 0;
};

TEST_F(Walk, TheWallAheadAndAfterATurnShowTheirColours)
{
    EXPECT_EQ(str(centre("start")), str(cellColour('g')));
    ASSERT_TRUE(sendKeyWaiting(w, 'd')) << maze.describe();
    EXPECT_EQ(str(centre("right")), str(cellColour('y')));
    ASSERT_TRUE(sendKeyWaiting(w, 'a')) << maze.describe();
    ASSERT_TRUE(sendKeyWaiting(w, 'a')) << maze.describe();
    EXPECT_EQ(str(centre("left")), str(cellColour('c')));
}

TEST_F(Walk, ABlockedStepChangesNothingAndTheNextKeyIsTaken)
{
    ASSERT_TRUE(sendKeyWaiting(w, 'a')) << maze.describe();  // face the border
    Image before, after;
    ASSERT_TRUE(waitUntilStable(w, &before));
    ASSERT_TRUE(sendKeyWaiting(w, 'w')) << maze.describe();
    ASSERT_TRUE(waitUntilStable(w, &after));
    EXPECT_TRUE(before == after) << saveDebugImage(after, "blocked");
    ASSERT_TRUE(sendKeyWaiting(w, 'd')) << maze.describe();
    EXPECT_EQ(str(centre("back")), str(cellColour('g')));
    EXPECT_TRUE(maze.running());
}

TEST_F(Walk, UpperCaseKeysAreIgnored)
{
    Image before, after;
    ASSERT_TRUE(waitUntilStable(w, &before));
    for (char key : {'W', 'D', 'A', 'S'})
        ASSERT_TRUE(sendKeyWaiting(w, key)) << maze.describe();
    ASSERT_TRUE(waitUntilStable(w, &after));
    EXPECT_TRUE(before == after) << saveDebugImage(after, "uppercase");
}

TEST_F(Walk, TheKeyPathReachesTheExit)
{
    const std::string keys = "wwdwwa";
    for (size_t i = 0; i < keys.size(); ++i)
        ASSERT_TRUE(sendKeyWaiting(w, keys[i])) << "at key " << i << "\n" << maze.describe();
    ASSERT_TRUE(maze.running()) << maze.describe();
    EXPECT_EQ(maze.out(), "load succesful\n");
    ASSERT_TRUE(sendKey(w, 'w'));
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
    EXPECT_TRUE(st.exited) << st.str();
    EXPECT_EQ(st.code, 0);
    EXPECT_EQ(maze.out(), "load succesful\nYou found the end.  Congratulations!!!!\n");
}

}  // namespace
