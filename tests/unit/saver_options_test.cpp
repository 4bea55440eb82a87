#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver/saver_options.h"

namespace {

SaverOptions parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "mazewalk");
    return parseSaverOptions(int(args.size()), args.data());
}

TEST(SaverOptions, ReadsTheWindowAndTheWalkInEitherDashStyle)
{
    const SaverOptions plain = parse({});
    EXPECT_EQ(plain.action, SaverOptions::Run);
    EXPECT_EQ(plain.target, SaverOptions::OwnWindow);
    EXPECT_EQ(plain.delayMicroseconds, 16666);
    EXPECT_EQ(plain.speed, 1);
    EXPECT_EQ(plain.maze.width, 32);
    EXPECT_EQ(plain.maze.height, 32);
    EXPECT_EQ(plain.maze.exits, 1);
    EXPECT_FALSE(plain.fps);
    EXPECT_FALSE(plain.showExits);

    struct Case {
        std::vector<const char*> args;
        SaverOptions::Target target;
        unsigned long windowId;
    } targets[] = {
        {{"-root"}, SaverOptions::Root, 0},
        {{"--root", "--window-id", "0x2A"}, SaverOptions::WindowId, 42},  // a preview appends its window
        {{"-window-id", "4194311"}, SaverOptions::WindowId, 4194311},
        {{"--window-id=0x400007", "--window"}, SaverOptions::OwnWindow, 0x400007},
    };
    for (const Case& c : targets) {
        SCOPED_TRACE(c.args.front());
        const SaverOptions o = parse(c.args);
        EXPECT_EQ(o.action, SaverOptions::Run) << o.error;
        EXPECT_EQ(o.target, c.target);
        EXPECT_EQ(o.windowId, c.windowId);
    }

    const SaverOptions all = parse({"--delay", "0", "--speed=10", "-width", "5", "--height", "7", "--exits", "2",
                                    "-fps", "--show-exits", "--display", ":3"});
    ASSERT_EQ(all.action, SaverOptions::Run) << all.error;
    EXPECT_EQ(all.delayMicroseconds, 0);
    EXPECT_EQ(all.speed, 10);
    EXPECT_EQ(all.maze.width, 5);
    EXPECT_EQ(all.maze.height, 7);
    EXPECT_EQ(all.maze.exits, 2);
    EXPECT_TRUE(all.fps);
    EXPECT_TRUE(all.showExits);
    EXPECT_EQ(all.display, ":3");

    // More exits than a small maze takes: as many as it does, the screensaver's sliders never stop it.
    const SaverOptions small = parse({"--width", "5", "--height", "6", "--exits", "9"});
    ASSERT_EQ(small.action, SaverOptions::Run) << small.error;
    EXPECT_EQ(small.maze.exits, maxExits(5, 6));

    EXPECT_EQ(parse({"--help", "--frobnicate"}).action, SaverOptions::Help);
    EXPECT_EQ(parse({"-version"}).action, SaverOptions::Version);
}

TEST(SaverOptions, RefusesBadValuesAndUnknownOptionsInOneLine)
{
    struct Case {
        std::vector<const char*> args;
        const char* error;
    } cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"--fps=1"}, "unknown option '--fps=1'"},
        {{"maze1.dat"}, "unexpected argument 'maze1.dat'"},
        {{"--delay"}, "--delay needs a value"},
        {{"--delay", "-1"}, "--delay must be a whole number from 0 to 10000000, not '-1'"},
        {{"--delay", "10000001"}, "--delay must be a whole number from 0 to 10000000, not '10000001'"},
        {{"--delay="}, "--delay must be a whole number from 0 to 10000000, not ''"},
        {{"--speed", "0"}, "--speed must be a whole number from 1 to 10, not '0'"},
        {{"--width", "4"}, "--width must be a whole number from 5 to 32 (the border included), not '4'"},
        {{"--height", "33"}, "--height must be a whole number from 5 to 32 (the border included), not '33'"},
        {{"--exits", "0"}, "--exits must be a whole number from 1 to 197, not '0'"},
        {{"--exits", "198"}, "--exits must be a whole number from 1 to 197, not '198'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const SaverOptions o = parse(c.args);
        EXPECT_EQ(o.action, SaverOptions::UsageError);
        EXPECT_EQ(o.error, c.error);
    }
    for (const char* id : {"0", "0x", "0x0", "12z", "-5", "0x123456789", "99999999999", ""}) {
        SCOPED_TRACE(id);
        const SaverOptions o = parse({"--window-id", id});
        EXPECT_EQ(o.action, SaverOptions::UsageError);
        EXPECT_EQ(o.error, std::string("--window-id must be a window id (0x and hex digits, or decimal), not '") + id +
                               "'");
    }
}

}  // namespace
