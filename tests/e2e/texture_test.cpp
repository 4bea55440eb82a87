// Textures in the real program: the wall ahead wears its bitmap, and a
// missing bitmap stops the program with a message box before any frame.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

// Winnable, so that stderr holds only what the textures cause.
const char kMaze[] =
    "ccccc\n"
    "c*  g\n"
    "cccxc\n";

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
    // The loader's line, then where textures come from.
    const std::string run = std::filesystem::weakly_canonical(MAZE_BUILD_DIR "/run").string();
    EXPECT_EQ(maze.err(), "Error: Failed to open DIB file pipeslightswires.bmp.\n"
                          "The textures are read from the working directory.\n"
                          "'mazetool textures DIR' writes them into DIR; an installed maze reads them from its "
                          "data folder.\n"
                          "The build's run folder holds them: cd " + run + " && ../maze\n");

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

// About 1 KiB declaring 9000 by 9000 pixels: an RLE8 file with 256 colour
// entries whose pixel data is only an end of bitmap.
std::string hugeRle8()
{
    std::string bmp = plainBmp(1, 1, Rgb{0, 0, 0}).substr(0, 54) + std::string(1024, '\0') + std::string("\0\1", 2);
    auto put = [&bmp](size_t at, int bytes, uint32_t v) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + size_t(i)] = char(v >> 8 * i);
    };
    put(2, 4, uint32_t(bmp.size()));
    put(10, 4, 54 + 1024);  // pixel data offset
    put(18, 4, 9000);       // width
    put(22, 4, 9000);       // height
    put(28, 2, 8);          // bits per pixel
    put(30, 4, 1);          // RLE8
    put(34, 4, 0);          // image size
    put(46, 4, 0);          // colours used: all 256
    return bmp;
}

TEST(Textures, ABrokenTextureShowsItsOwnMessage)
{
    std::string header108 = plainBmp(4, 4, Rgb{1, 2, 3});
    header108[14] = 108;  // a header size the loader does not read
    const struct { const char* name; std::string bmp; const char* err; } cases[] = {
        {"header 108", header108, "Error: Unknown DIB file format.\n"},
        // Refused before it is decoded, not scaled down from 1.3 GiB.
        {"9000 by 9000", hugeRle8(), "Error: metal004.bmp: Image too large: 9000 by 9000 pixels, at most 8192 a side.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Files files = mazeFiles(kMaze);
        files[g_textureFiles[0]] = c.bmp;
        Program maze(MAZE_BINARY, {}, files);
        ASSERT_TRUE(maze.start());
        Window box = findWindow(maze, "Error");
        ASSERT_NE(box, 0u) << maze.describe();
        EXPECT_EQ(maze.err(), c.err);
        ASSERT_TRUE(sendKey(box, '\x1b'));
        ExitStatus st;
        ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
        EXPECT_EQ(st.code, 1) << maze.describe();
    }
}

}  // namespace
