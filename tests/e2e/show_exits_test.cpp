// --show-exits in the real program: the exit ahead is drawn in green, the
// rest of the picture as without the option, which --help lists.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

// The exit two cells ahead of the start, a wall behind it.
const char kExitAhead[] =
    "cccccc\n"
    "c*  xg\n"
    "cccccc\n";

// The window's settled first picture of kExitAhead, started with `args`.
void firstPicture(const std::vector<std::string>& args, Image* shot)
{
    Program maze(MAZE_BINARY, args, mazeFiles(kExitAhead));
    ASSERT_TRUE(maze.start());
    Window w = findWindow(maze);
    ASSERT_NE(w, 0u) << maze.describe();
    ASSERT_TRUE(waitUntilStable(w, shot)) << maze.describe();
    EXPECT_EQ(maze.err(), "");
}

TEST(ShowExits, TheExitInViewIsGreenWithTheOptionAndPlainFloorWithout)
{
    Image plain, shown;
    ASSERT_NO_FATAL_FAILURE(firstPicture({}, &plain));
    ASSERT_NO_FATAL_FAILURE(firstPicture({"--show-exits"}, &shown));
    ASSERT_EQ(plain.width, shown.width);
    ASSERT_EQ(plain.pixels.size(), shown.pixels.size());

    // The pixels that differ are the exit's floor: plain floor without the
    // option, one clear green with it. Everything else is the same picture.
    const Rgb floor = cellColour('x');
    size_t changed = 0;
    Rgb exit;
    for (size_t i = 0; i < plain.pixels.size(); ++i) {
        if (plain.pixels[i] == shown.pixels[i])
            continue;
        if (changed++ == 0)
            exit = shown.pixels[i];
        EXPECT_EQ(str(plain.pixels[i]), str(floor)) << "pixel " << i << " of a cell other than the exit changed";
        EXPECT_EQ(str(shown.pixels[i]), str(exit)) << "pixel " << i;
        if (!(plain.pixels[i] == floor) || !(shown.pixels[i] == exit))
            break;
    }
    EXPECT_GT(changed, size_t(500)) << saveDebugImage(shown, "shown");
    EXPECT_GT(exit.g, exit.r + 80) << str(exit);
    EXPECT_GT(exit.g, exit.b + 60) << str(exit);

    Program help("/usr/bin/env", {"-u", "DISPLAY", MAZE_BINARY, "--help"});
    ASSERT_TRUE(help.start());
    ExitStatus st;
    ASSERT_TRUE(help.waitExit(kExitTimeout, &st)) << help.describe();
    EXPECT_NE(help.out().find("\n  --show-exits "), std::string::npos) << help.out();
}

}  // namespace
