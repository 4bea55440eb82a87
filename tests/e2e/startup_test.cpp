// Start-up of the real program under Xvfb: its window, its title, the maze
// file line, the clear colour, the quit keys.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

const std::regex kFrameRateTitle("Maze:  Current Frames Per Second: ([1-9][0-9]*)");

bool isFrameRateTitle(const std::string& title)
{
    return std::regex_match(title, kFrameRateTitle);
}

int frameCount(const std::string& title)
{
    std::smatch m;
    return std::regex_match(title, m, kFrameRateTitle) ? std::stoi(m[1]) : -1;
}

// glClearColor(0.5, 0.5, 1.0): 0.5 may land on 127 or 128.
bool isClearColour(Rgb c)
{
    return c.r >= 126 && c.r <= 129 && c.g >= 126 && c.g <= 129 && c.b >= 254;
}

TEST(Startup, WindowIs500By500AndItsTitleShowsTheFrameRateEverySecond)
{
    Program maze(MAZE_BINARY, {}, mazeFiles(kSmallMaze));
    ASSERT_TRUE(maze.start());
    Window w = findWindow(maze);
    ASSERT_NE(w, 0u) << maze.describe();

    int width = 0, height = 0;
    ASSERT_TRUE(windowAlive(w, &width, &height));
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 500);

    ASSERT_TRUE(waitForTitle(w, isFrameRateTitle)) << maze.describe();
    EXPECT_EQ(maze.out(), "load succesful\n");

    // Each rewrite reports the frames since the previous one; the frames we
    // see presented in between are a lower bound for that count.
    std::vector<TitleUpdate> updates;
    ASSERT_TRUE(waitTitleUpdates(w, 2, kWaitTimeout, &updates))
        << updates.size() << " rewrites seen\n" << maze.describe();
    for (size_t i = 0; i < updates.size(); ++i)
        EXPECT_TRUE(isFrameRateTitle(updates[i].title)) << "rewrite " << i << ": '" << updates[i].title << "'";
    for (size_t i = 1; i < updates.size(); ++i) {
        double interval = updates[i].time - updates[i - 1].time;
        EXPECT_GT(interval, 0.5) << "rewrite " << i;
        EXPECT_LT(interval, 5.0) << "rewrite " << i;
        int presented = updates[i].frames - updates[i - 1].frames;
        EXPECT_GE(frameCount(updates[i].title), presented - 2)
            << "rewrite " << i << ": '" << updates[i].title << "' after " << presented << " frames";
    }
}

// It is played all the same, with a warning on stderr in mazetool check's words.
TEST(Startup, MazeWithNothingToDrawShowsOnlyTheClearColour)
{
    struct Case {
        const char* name;
        const char* text;
    } cases[] = {
        {"a single empty line", "\n"},
        {"an empty file", ""},
        {"only upper-case letters, which draw nothing", "RGBCMY\nRGBCMY\nRGBCMY\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program maze(MAZE_BINARY, {}, mazeFiles(c.text));
        ASSERT_TRUE(maze.start());
        Window w = findWindow(maze);
        ASSERT_NE(w, 0u) << maze.describe();
        ASSERT_TRUE(waitForTitle(w, isFrameRateTitle)) << maze.describe();

        Image shot;
        ASSERT_TRUE(waitUntilStable(w, &shot)) << maze.describe();
        ASSERT_EQ(shot.width, 500);
        ASSERT_EQ(shot.height, 500);
        const auto other = std::find_if_not(shot.pixels.begin(), shot.pixels.end(), isClearColour);
        EXPECT_TRUE(other == shot.pixels.end()) << "pixel " << other - shot.pixels.begin() << " is " << str(*other)
                                                << "\n" << saveDebugImage(shot, "clear");
        EXPECT_EQ(maze.out(), "load succesful\n");
        EXPECT_EQ(maze.err(), "maze: maze1.dat: no start (\"*\"): the walker starts at cell 0 0\n"
                              "maze: maze1.dat: no exit (\"x\")\n");
        EXPECT_TRUE(maze.running());
    }
}

TEST(Startup, WithoutMazeFileWritesTheLineAndExitsWithCodeOneBeforeAnyFrame)
{
    Program maze(MAZE_BINARY, {}, plainTextureFiles());
    WindowLog windows;
    ASSERT_TRUE(maze.start());
    // Titles are read while the program runs: once its window is gone they cannot be.
    std::vector<std::string> titles;
    ExitStatus st;
    ASSERT_TRUE(windows.titlesUntilExit(maze, kExitTimeout, &titles, &st)) << maze.describe();
    EXPECT_TRUE(st.exited) << st.str();
    EXPECT_EQ(st.code, 1) << maze.describe();
    EXPECT_EQ(maze.out(), "maze1.dat can not be opened. Exiting program.\n");
    // A program in the build tree points to its run folder.
    const std::string run = std::filesystem::weakly_canonical(MAZE_BUILD_DIR "/run").string();
    EXPECT_EQ(maze.err(), "maze: maze1.dat is read from the working directory; the build's run folder holds it "
                          "and the textures: cd " + run + " && ../maze\n");

    // The window is created before the maze is read, so it may flash up;
    // no frame may be drawn in it, and a frame is what rewrites the title.
    for (const std::string& t : titles)
        EXPECT_FALSE(isFrameRateTitle(t)) << "a frame was drawn: title '" << t << "'";
}

TEST(Startup, QuitKeysEndTheProgramAtOnceWithCodeZeroAndNoOutput)
{
    for (char key : {'q', 'Q', '\x1b'}) {
        SCOPED_TRACE(key == '\x1b' ? std::string("Escape") : std::string(1, key));
        Program maze(MAZE_BINARY, {}, mazeFiles(kSmallMaze));
        ASSERT_TRUE(maze.start());
        Window w = findWindow(maze);
        ASSERT_NE(w, 0u) << maze.describe();
        ASSERT_TRUE(waitForTitle(w, isFrameRateTitle)) << maze.describe();

        ASSERT_TRUE(sendKey(w, key));
        ExitStatus st;
        ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << "still running after the key\n" << maze.describe();
        EXPECT_TRUE(st.exited) << st.str();
        EXPECT_EQ(st.code, 0) << maze.describe();
        EXPECT_EQ(maze.out(), "load succesful\n");
        EXPECT_EQ(maze.err(), "");
    }
}

}  // namespace
