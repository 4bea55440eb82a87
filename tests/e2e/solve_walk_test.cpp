// A maze from `mazetool generate`, walked in the real program with the keys
// `mazetool solve` prints: the walk must end on the exit, not before.

#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"
#include "screen.h"
#include "tool_run.h"

using namespace e2e;

namespace {

TEST(SolveWalk, GeneratedMazeWalkedWithTheSolveKeysEndsWithTheCongratulation)
{
    const ToolRun generated = runTool("generate --width 9 --height 9 --seed 7");
    ASSERT_EQ(generated.code, 0) << generated.err;
    const std::string text = generated.out;
    ASSERT_EQ(text.size(), 9u * 10u) << text;
    const ToolRun solved = runTool("solve maze1.dat", {{"maze1.dat", text}});
    ASSERT_EQ(solved.code, 0) << solved.err;
    const std::string line = solved.out;
    ASSERT_GT(line.size(), 1u);
    ASSERT_EQ(line.back(), '\n');
    const std::string keys = line.substr(0, line.size() - 1);
    ASSERT_EQ(keys.find_first_not_of("wsad"), std::string::npos) << keys;

    Program maze(MAZE_BINARY, {}, mazeFiles(text));
    ASSERT_TRUE(maze.start());
    Window w = findWindow(maze);
    ASSERT_NE(w, 0u) << maze.describe();
    ASSERT_TRUE(waitUntilStable(w)) << maze.describe();

    // One key at a time, each motion finished before the next key: the
    // program drops keys that arrive during a motion.
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        ASSERT_TRUE(sendKeyWaiting(w, keys[i])) << "key " << i << " of " << keys << "\n" << maze.describe();
        ASSERT_TRUE(maze.running()) << "ended after key " << i << " of " << keys << "\n" << maze.describe();
    }
    ASSERT_TRUE(sendKey(w, keys.back()));
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << "still running after the last key\n" << maze.describe();
    EXPECT_TRUE(st.exited) << st.str();
    EXPECT_EQ(st.code, 0) << maze.describe();
    EXPECT_EQ(maze.out(), "load succesful\nYou found the end.  Congratulations!!!!\n");
}

}  // namespace
