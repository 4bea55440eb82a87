// Textures in the real program: the wall ahead wears its bitmap, and a
// missing bitmap stops the program with a message box before any frame.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

const char kMaze[] =
    "ccccc\n"
    "c*  g\n"
    "ccccc\n";

TEST(Textures, TheWallAheadShowsItsTextureColour)
{
    // The "g" texture in a colour the renderer never uses on its own.
    const Rgb orange{255, 128, 0};
    Files files = mazeFiles(kMaze);
    files[g_textureFiles[2]] = plainBmp(8, 8, orange);
    Program maze(MAZE_BINARY, {}, files);
    ASSERT_TRUE(maze.start());
    Window w = findWindow(maze);
    ASSERT_NE(w, 0u) << maze.describe();
    Image shot;
    ASSERT_TRUE(waitUntilStable(w, &shot)) << maze.describe();
    EXPECT_EQ(str(shot.at(shot.width / 2, shot.height / 2)), str(orange))
        << saveDebugImage(shot, "orange");
}

TEST(Textures, AMissingTextureShowsTheErrorBoxAndReturnEndsWithCodeOne)
{
    Files files = mazeFiles(kMaze);
    files.erase(g_textureFiles[3]);  // pipeslightswires.bmp
    Program maze(MAZE_BINARY, {}, files);
    WindowLog windows;
    ASSERT_TRUE(maze.start());

    Window box = findWindow(maze, "Error");
    ASSERT_NE(box, 0u) << maze.describe();
    EXPECT_TRUE(maze.running()) << "the program must wait for the box";
    EXPECT_EQ(maze.err(), "Error: Failed to open DIB file pipeslightswires.bmp.\n");

    ASSERT_TRUE(sendKey(box, '\r'));
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
    EXPECT_TRUE(st.exited) << st.str();
    EXPECT_EQ(st.code, 1) << maze.describe();
    EXPECT_EQ(maze.out(), "load succesful\n");

    const std::regex frameRate("Maze:  Current Frames Per Second: .*");
    for (const std::string& t : windows.titles())
        EXPECT_FALSE(std::regex_match(t, frameRate)) << "a maze frame was drawn: '" << t << "'";
}

TEST(Textures, ABrokenTextureShowsItsOwnMessage)
{
    Files files = mazeFiles(kMaze);
    std::string bmp = plainBmp(4, 4, Rgb{1, 2, 3});
    bmp[14] = 108;  // a header size the loader does not read
    files[g_textureFiles[0]] = bmp;
    Program maze(MAZE_BINARY, {}, files);
    ASSERT_TRUE(maze.start());
    Window box = findWindow(maze, "Error");
    ASSERT_NE(box, 0u) << maze.describe();
    EXPECT_EQ(maze.err(), "Error: Unknown DIB file format.\n");
    ASSERT_TRUE(sendKey(box, '\x1b'));
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
    EXPECT_EQ(st.code, 1) << maze.describe();
}

}  // namespace
