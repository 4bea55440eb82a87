// maze --demo: the walker walks itself through the program's own keys, and
// the congratulation box of --message-box.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

const char kCongratulation[] = "You found the end.  Congratulations!!!!\n";

TEST(Demo, WalksAMazeFileToItsExitAndEndsWithCodeZero)
{
    Files files = mazeFiles("");  // maze1.dat, which must not be read
    files["mazes/small.dat"] = kSmallMaze;  // walked "wwass": turns as well as steps
    Program maze(MAZE_BINARY, {"--demo", "mazes/small.dat"}, files);
    ASSERT_TRUE(maze.start());
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
    EXPECT_TRUE(st.exited) << st.str();
    EXPECT_EQ(st.code, 0) << maze.describe();
    EXPECT_EQ(maze.out(), std::string("load succesful\n") + kCongratulation);
    EXPECT_EQ(maze.err(), "");
}

// Every error of a demo goes to stderr: its stdout holds only what a walk prints.
TEST(Demo, AMazeWithoutAWayToAnExitOrNotAFileEndsWithCodeOneBeforeAnyWindow)
{
    proc::TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    ASSERT_EQ(mkfifo((dir.path + "/fifo.dat").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path + "/folder.dat");
    Files files = plainTextureFiles();
    files["stuck.dat"] =
        "rrrrr\n"
        "r* rr\n"
        "rrrxr\n"
        "rrrrr\n";
    const struct {
        std::string file, err;
    } cases[] = {
        {"stuck.dat", "maze: stuck.dat: no exit can be reached from the start\n"},
        {dir.path + "/fifo.dat", dir.path + "/fifo.dat can not be opened. Exiting program.\n"},
        {dir.path + "/folder.dat", dir.path + "/folder.dat can not be opened. Exiting program.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Program maze(MAZE_BINARY, {"--demo", c.file}, files);
        WindowLog windows;
        ASSERT_TRUE(maze.start());
        std::vector<std::string> titles;
        ExitStatus st;
        ASSERT_TRUE(windows.titlesUntilExit(maze, kExitTimeout, &titles, &st)) << maze.describe();
        EXPECT_TRUE(st.exited && st.code == 1) << st.str() << "\n" << maze.describe();
        EXPECT_EQ(maze.err(), c.err);
        EXPECT_EQ(maze.out(), "");
        EXPECT_TRUE(titles.empty()) << titles.size() << " titles, the first '" << titles.front() << "'";
    }
}

TEST(Demo, WithoutAMazeFileWalksRandomMazesUntilAKeyEndsItWithCodeZero)
{
    Program maze(MAZE_BINARY, {"--demo"}, plainTextureFiles());  // no maze1.dat
    ASSERT_TRUE(maze.start());
    Window w = findWindow(maze);
    ASSERT_NE(w, 0u) << maze.describe();
    // The first frame rewrites the title; from then on a walker standing still shows one picture.
    ASSERT_TRUE(waitForTitle(w, [](const std::string& t) { return t != "Maze: "; })) << maze.describe();
    const Image first = screenshot(w);
    ASSERT_FALSE(first.pixels.empty()) << maze.describe();
    ASSERT_TRUE(x::waitFor(w, kWaitTimeout, [&] {
        const Image later = screenshot(w);
        return !later.pixels.empty() && !(later == first);
    })) << "the view never changed\n" << saveDebugImage(first, "first") << "\n" << maze.describe();
    ASSERT_TRUE(sendKey(w, 'w'));  // a walk key when not in a demo
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << "still running after a key\n" << maze.describe();
    EXPECT_TRUE(st.exited && st.code == 0) << st.str() << "\n" << maze.describe();
    const std::string out = maze.out();
    for (size_t at = 0; at < out.size(); at += sizeof kCongratulation - 1)
        ASSERT_EQ(out.compare(at, sizeof kCongratulation - 1, kCongratulation), 0) << out;
    EXPECT_EQ(maze.err(), "");
}

TEST(Demo, WithMessageBoxTheCongratulationWaitsInABoxTitledMaze)
{
    Files files = mazeFiles(kSmallMaze);
    Program maze(MAZE_BINARY, {"--demo", "--message-box", "maze1.dat"}, files);
    ASSERT_TRUE(maze.start());
    Window box = findWindow(maze, "Maze");
    ASSERT_NE(box, 0u) << maze.describe();
    EXPECT_TRUE(maze.running());
    EXPECT_EQ(maze.out(), std::string("load succesful\n") + kCongratulation);
    ASSERT_TRUE(sendKey(box, '\r'));
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
    EXPECT_TRUE(st.exited && st.code == 0) << st.str() << "\n" << maze.describe();
    EXPECT_EQ(maze.err(), std::string("Maze: ") + kCongratulation);
}

}  // namespace
