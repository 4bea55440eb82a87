#include <gtest/gtest.h>

#include <string>

#include "app/window_size.h"

namespace {

// A -geometry size is read as written, past the 16 and 32 bits the toolkit
// keeps, then capped at each known limit.
TEST(WindowSize, GeometryIsReadInFullAndCappedAtEachLimit)
{
    const unsigned long long most = ~0ull;
    struct Case {
        const char* geometry;
        unsigned long long width, height;
    } cases[] = {
        {"300x200", 300, 200},
        {"=300X200+10-20", 300, 200},
        {"70000x10", 70000, 10},
        {"4294967297x4294967297", 4294967297ull, 4294967297ull},
        {"99999999999999999999999x5", most, 5},  // saturates
        {"+10+20", 0, 0},
        {"300x", 0, 0},
        {"300x200junk", 0, 0},
        {"x200", 0, 0},
    };
    for (const Case& c : cases) {
        const WindowSize size = geometrySize(c.geometry);
        EXPECT_EQ(size.width, c.width) << c.geometry;
        EXPECT_EQ(size.height, c.height) << c.geometry;
    }

    const WindowSize screen{1024, 768}, viewport{16384, 600}, unknown{};
    const WindowSize capped = capWindowSize(WindowSize{most, 500}, screen, viewport);
    EXPECT_EQ(capped.width, 1024u);
    EXPECT_EQ(capped.height, 500u);
    EXPECT_EQ(capWindowSize(WindowSize{2000, 2000}, screen, viewport).height, 600u);
    EXPECT_EQ(capWindowSize(WindowSize{2000, 2000}, unknown, unknown).width, 2000u);
    EXPECT_EQ(windowCapNote(WindowSize{70000, 10}, WindowSize{1024, 10}, screen, unknown),
              "maze: -geometry 70000x10 is more than the screen (1024x768): the window is 1024x10\n");
}

}  // namespace
