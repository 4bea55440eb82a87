#include <gtest/gtest.h>

#include "view/exit_look.h"

namespace {

TEST(ExitLook, OnlyTheFirstMarkedExitsWearTheExitFloor)
{
    maze level;
    const char text[] = "*xrx\n";
    level.read(text, sizeof text - 1);
    struct Case {
        int markedExits;
        int slots[4];  // columns 0 to 3: start, exit 0, wall, exit 1
    } cases[] = {
        {0, {0, 0, 1, 0}},
        {1, {0, kExitFloorSlot, 1, 0}},
        {2, {0, kExitFloorSlot, 1, kExitFloorSlot}},
    };
    for (const Case& c : cases)
        for (int column = 0; column < 4; ++column) {
            CellLook look;
            ASSERT_TRUE(cellLookAt(level, point2{column, 0}, c.markedExits, look));
            EXPECT_EQ(look.textureSlot, c.slots[column]) << c.markedExits << " marked, column " << column;
            EXPECT_EQ(look.wall, column == 2);
        }
    CellLook look;
    EXPECT_FALSE(cellLookAt(level, point2{5, 0}, 2, look)) << "a cell the file never filled";
}

}  // namespace
