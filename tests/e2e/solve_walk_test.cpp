// A maze from `mazetool generate`, walked in the real program with the keys
// `mazetool solve` prints: the walk must end on the exit, not before.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

// Runs mazetool in a folder of its own and returns what it printed.
std::string mazetool(const std::vector<std::string>& args, const Files& files = {})
{
    Program tool(MAZETOOL_BINARY, args, files);
    EXPECT_TRUE(tool.start());
    ExitStatus st;
    EXPECT_TRUE(tool.waitExit(kExitTimeout, &st)) << tool.describe();
    EXPECT_TRUE(st.exited && st.code == 0) << tool.describe();
    return tool.out();
}

TEST(SolveWalk, GeneratedMazeWalkedWithTheSolveKeysEndsWithTheCongratulation)
{
    const std::string text = mazetool({"generate", "--width", "9", "--height", "9", "--seed", "7"});
    ASSERT_EQ(text.size(), 9u * 10u) << text;
    const std::string line = mazetool({"solve", "maze1.dat"}, {{"maze1.dat", text}});
    ASSERT_GT(line.size(), 1u);
    ASSERT_EQ(line.back(), '\n');
    const std::string keys = line.substr(0, line.size() - 1);
    ASSERT_EQ(keys.find_first_not_of("wsad"), std::string::npos) << keys;

    Program maze(MAZE_BINARY, {}, mazeFiles(text));
    ASSERT_TRUE(maze.start());
    Window w = findProgramWindow(maze);
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
