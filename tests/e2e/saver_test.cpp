// mazewalk, the screensaver: drawing into a window someone else made, its
// size followed, and the ways it ends.

#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <regex>
#include <string>

#include "fixtures.h"
#include "screen.h"

using namespace e2e;

namespace {

// Floor and walls in textures of their own colours: seen on screen, they
// show the textures were read and used (the renderer's own colours differ).
const Rgb kFloor{200, 120, 40}, kWall{40, 200, 120};

Files saverTextures()
{
    Files files;
    for (int i = 0; i < kTextureCount; ++i)
        files[g_textureFiles[i]] = plainBmp(4, 4, i == 0 ? kFloor : kWall);
    return files;
}

bool isSky(Rgb c)  // kSkyColour, half-way values rounded either way
{
    return c.r >= 127 && c.r <= 128 && c.g >= 127 && c.g <= 128 && c.b == 255;
}

struct Census {
    int sky = 0, floor = 0, wall = 0, black = 0, other = 0;
};

// Counts the pixels of rows [fromRow, toRow) by what they show.
Census census(const Image& img, int fromRow = 0, int toRow = -1)
{
    Census c;
    for (int y = fromRow; y < (toRow < 0 ? img.height : toRow); ++y)
        for (int x = 0; x < img.width; ++x) {
            const Rgb p = img.at(x, y);
            ++(isSky(p) ? c.sky : p == kFloor ? c.floor : p == kWall ? c.wall : p == Rgb{} ? c.black : c.other);
        }
    return c;
}

std::string hex(Window w)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", w);
    return text;
}

// A window of the test's, destroyed with the object (if still there).
struct TestWindow {
    TestWindow(int width, int height) : id(createTestWindow(width, height)) {}
    ~TestWindow() { destroyWindow(id); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    const Window id;
};

// Waits until the window shows the walk: sky and walls, nothing black (in the
// rows above `rows`, all when -1). The floor may be hidden: a walker that
// starts facing a wall sees none.
bool showsTheWalk(Window w, Image* shot, int rows = -1)
{
    return x::waitFor(w, kWaitTimeout, [&] {
        *shot = screenshot(w);
        const Census c = census(*shot, 0, rows);
        return !shot->pixels.empty() && c.sky > 0 && c.wall > 0 && c.black == 0;
    });
}

TEST(Saver, DrawsTheWalkIntoTheWindowItIsGivenAndTheWalkMoves)
{
    const int width = 240, height = 180, boxTop = height - 28;  // the frame rate's box is 28 high
    TestWindow window(width, height);
    const Window w = window.id;
    ASSERT_NE(w, 0u);
    Program saver(MAZEWALK_BINARY, {"--window-id", hex(w), "--fps"}, saverTextures());
    ASSERT_TRUE(saver.start());
    Image first;
    ASSERT_TRUE(showsTheWalk(w, &first, boxTop)) << saveDebugImage(first, "first") << "\n" << saver.describe();
    EXPECT_EQ(census(first, 0, boxTop).other, 0) << "pixels neither sky, floor nor wall\n"
                                                 << saveDebugImage(first, "first");

    // The frame rate's box in the bottom left corner: black, with white strokes.
    bool white = false;
    for (int y = boxTop; y < height; ++y)
        for (int x = 0; x < 30; ++x)
            white = white || first.at(x, y) == Rgb{255, 255, 255};
    EXPECT_EQ(str(first.at(1, height - 2)), str(Rgb{})) << saveDebugImage(first, "first");
    EXPECT_TRUE(white) << saveDebugImage(first, "first");

    // The walk moves: the picture above the frame rate changes, and shows the
    // floor's texture once the walker faces along a corridor.
    auto above = [&](const Image& img) {
        return std::vector<Rgb>(img.pixels.begin(), img.pixels.begin() + size_t(boxTop) * size_t(img.width));
    };
    Image later;
    EXPECT_TRUE(x::waitFor(w, kWaitTimeout, [&] {
        later = screenshot(w);
        return !later.pixels.empty() && above(later) != above(first);
    })) << "the view never changed\n" << saveDebugImage(first, "first") << "\n" << saver.describe();
    EXPECT_TRUE(x::waitFor(w, kWaitTimeout, [&] {
        later = screenshot(w);
        return !later.pixels.empty() && census(later, 0, boxTop).floor > 0;
    })) << "no floor seen\n" << saveDebugImage(later, "later") << "\n" << saver.describe();
    EXPECT_TRUE(saver.running()) << saver.describe();
    EXPECT_EQ(saver.err(), "");
}

TEST(Saver, RootDrawsIntoTheWindowInXscreensaverWindowNotTheRealRoot)
{
    const int side = 200;
    TestWindow window(side, side);
    const Window w = window.id;
    ASSERT_NE(w, 0u);
    Program saver(MAZEWALK_BINARY, {"--root"}, saverTextures());
    saver.setEnv("XSCREENSAVER_WINDOW", std::to_string(w));  // decimal, as the daemon may write it
    ASSERT_TRUE(saver.start());
    Image first, later;
    ASSERT_TRUE(showsTheWalk(w, &first)) << saveDebugImage(first, "first") << "\n" << saver.describe();
    ASSERT_TRUE(x::waitFor(w, kWaitTimeout, [&] {
        later = screenshot(w);
        return !later.pixels.empty() && !(later == first);
    })) << "the view never changed\n" << saver.describe();
    // Frames have been drawn since; the rest of the screen shows none of them.
    const Image root = screenshot(rootWindow());
    ASSERT_FALSE(root.pixels.empty());
    int drawn = 0;
    for (int y = 0; y < root.height; ++y)
        for (int x = 0; x < root.width; ++x) {
            const Rgb p = root.at(x, y);
            drawn += (x >= side || y >= side) && (isSky(p) || p == kFloor || p == kWall);
        }
    EXPECT_EQ(drawn, 0) << saveDebugImage(root, "root");
    EXPECT_TRUE(saver.running()) << saver.describe();
}

TEST(Saver, FollowsAResizeOfItsWindow)
{
    TestWindow window(160, 120);
    const Window w = window.id;
    ASSERT_NE(w, 0u);
    Program saver(MAZEWALK_BINARY, {"--window-id", hex(w)}, saverTextures());
    ASSERT_TRUE(saver.start());
    Image shot;
    ASSERT_TRUE(showsTheWalk(w, &shot)) << saveDebugImage(shot, "before") << "\n" << saver.describe();
    ASSERT_TRUE(resizeWindow(w, 360, 270));
    // The server clears what the window gained to black; the walk covers it
    // again, down to its bottom corners, which look steeply down at the floor
    // or a wall (a view left at the old size leaves them black or sky).
    auto ground = [](Rgb p) { return p == kFloor || p == kWall; };
    EXPECT_TRUE(x::waitFor(w, kWaitTimeout, [&] {
        shot = screenshot(w);
        return shot.width == 360 && shot.height == 270 && census(shot).black == 0 && census(shot).sky > 0 &&
               ground(shot.at(0, 269)) && ground(shot.at(359, 269));
    })) << saveDebugImage(shot, "after") << "\n" << saver.describe();
    EXPECT_TRUE(saver.running()) << saver.describe();
}

TEST(Saver, SigtermOrSigintEndsItWithCodeZeroEvenInTheMiddleOfALongDelay)
{
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig == SIGTERM ? "SIGTERM" : "SIGINT");
        TestWindow window(100, 100);
        const Window w = window.id;
        ASSERT_NE(w, 0u);
        // Ten seconds between frames: only a signal that cuts the wait short ends it before the next.
        Program saver(MAZEWALK_BINARY, {"--window-id", hex(w), "--delay", "10000000"}, saverTextures());
        ASSERT_TRUE(saver.start());
        Image shot;
        ASSERT_TRUE(showsTheWalk(w, &shot)) << saver.describe();
        ASSERT_EQ(kill(saver.pid(), sig), 0);
        ExitStatus st;
        ASSERT_TRUE(saver.waitExit(8, &st)) << "still running\n" << saver.describe();
        EXPECT_TRUE(st.exited && st.code == 0) << st.str() << "\n" << saver.describe();
        EXPECT_EQ(saver.err(), "");
        EXPECT_TRUE(windowAlive(w)) << "the window is not its to destroy";
    }
}

TEST(Saver, DestroyingItsWindowEndsItWithOneLine)
{
    Window w = createTestWindow(120, 90);
    ASSERT_NE(w, 0u);
    Program saver(MAZEWALK_BINARY, {"--window-id", hex(w)}, saverTextures());
    ASSERT_TRUE(saver.start());
    Image shot;
    ASSERT_TRUE(showsTheWalk(w, &shot)) << saver.describe();
    ASSERT_TRUE(destroyWindow(w));
    ExitStatus st;
    ASSERT_TRUE(saver.waitExit(kExitTimeout, &st)) << saver.describe();
    EXPECT_TRUE(st.exited && st.code == 1) << st.str() << "\n" << saver.describe();
    EXPECT_EQ(saver.err(), "mazewalk: window " + hex(w) + " was destroyed\n");
}

TEST(Saver, WindowOpensItsOwn500By500WhichQOrEscapeEnds)
{
    for (char key : {'q', 'Q', '\x1b'}) {
        SCOPED_TRACE(key);
        Program saver(MAZEWALK_BINARY, {"--window"}, saverTextures());
        ASSERT_TRUE(saver.start());
        Window w = findWindow(saver, "mazewalk");
        ASSERT_NE(w, 0u) << saver.describe();
        int width = 0, height = 0;
        ASSERT_TRUE(windowAlive(w, &width, &height));
        EXPECT_EQ(width, 500);
        EXPECT_EQ(height, 500);
        Image shot;
        ASSERT_TRUE(showsTheWalk(w, &shot)) << saveDebugImage(shot, "own") << "\n" << saver.describe();
        ASSERT_TRUE(sendKey(w, key));
        ExitStatus st;
        ASSERT_TRUE(saver.waitExit(kExitTimeout, &st)) << saver.describe();
        EXPECT_TRUE(st.exited && st.code == 0) << st.str() << "\n" << saver.describe();
        EXPECT_EQ(saver.err(), "");
    }
}

TEST(Saver, AWindowThatCannotBeUsedIsOneLineAndCodeOne)
{
    const std::string missing = "0x3fffff0";
    struct Case {
        std::vector<std::string> args;
        const char* env;  // XSCREENSAVER_WINDOW, or null
        std::string err;
    } cases[] = {
        {{"--window-id", missing}, nullptr, "mazewalk: no window " + missing + " on display "},
        {{"--root"}, "0x3fffff0", "mazewalk: no window " + missing + " on display "},
        {{"--root"}, "junk", "mazewalk: XSCREENSAVER_WINDOW is not a window id: 'junk'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back() + (c.env ? std::string(" ") + c.env : ""));
        Program saver(MAZEWALK_BINARY, c.args, saverTextures());
        if (c.env)
            saver.setEnv("XSCREENSAVER_WINDOW", c.env);
        ASSERT_TRUE(saver.start());
        ExitStatus st;
        ASSERT_TRUE(saver.waitExit(kExitTimeout, &st)) << saver.describe();
        EXPECT_TRUE(st.exited && st.code == 1) << st.str() << "\n" << saver.describe();
        const std::string err = saver.err();
        EXPECT_EQ(err.rfind(c.err, 0), 0u) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_EQ(saver.out(), "");
    }
}

}  // namespace

namespace {

TEST(Saver, HelpVersionAndBadOptionsAreAnsweredWithoutADisplay)
{
    struct Case {
        const char* arg;
        int code;
        std::string outStart, errStart;
    } cases[] = {
        {"--help", 0, "usage: mazewalk [--window | --root | --window-id ID]", ""},
        {"-version", 0, "mazewalk ", ""},
        {"--speed=11", 2, "", "mazewalk: --speed must be a whole number from 1 to 10, not '11'\nusage: mazewalk "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        Program saver("/usr/bin/env", {"-u", "DISPLAY", MAZEWALK_BINARY, c.arg});
        ASSERT_TRUE(saver.start());
        ExitStatus st;
        ASSERT_TRUE(saver.waitExit(kExitTimeout, &st)) << saver.describe();
        EXPECT_TRUE(st.exited && st.code == c.code) << st.str() << "\n" << saver.describe();
        EXPECT_EQ(saver.out().rfind(c.outStart, 0), 0u) << saver.out();
        EXPECT_EQ(saver.err().rfind(c.errStart, 0), 0u) << saver.err();
        EXPECT_EQ(saver.out().empty(), c.outStart.empty());
        EXPECT_EQ(saver.err().empty(), c.errStart.empty());
    }
}

}  // namespace
