#include <gtest/gtest.h>

#include <string>

#include "maze/cell_kind.h"
#include "maze/cell_rules.h"
#include "view/cell_look.h"

namespace {

// Every byte as the maze file's format has it, written out apart from the
// table: which bytes are open, which are drawn, and in which texture slot.
TEST(CellKind, EveryByteReadsAsTheFileFormatSays)
{
    const std::string open = " *x", walls = "rgbcmy";
    for (int b = 0; b < 256; ++b) {
        const char c = char(b);
        const bool isOpen = b && open.find(c) != std::string::npos;
        const size_t wall = b ? walls.find(c) : std::string::npos;
        SCOPED_TRACE("byte " + std::to_string(b));
        EXPECT_EQ(isOpenCell(c), isOpen);
        CellLook look{};
        const bool drawn = cellLook(c, look);
        EXPECT_EQ(drawn, isOpen || wall != std::string::npos);
        if (drawn) {
            EXPECT_EQ(look.wall, !isOpen);
            EXPECT_EQ(look.textureSlot, isOpen ? 0 : int(wall) + 1);
        }
        const CellKind kind = cellKindOf(c);
        if (!drawn)
            EXPECT_EQ(kind, CellKind::Invisible);
        else
            EXPECT_EQ(cellKindByte(kind), c) << "a drawn byte is its kind's own";
    }
}

TEST(CellKind, EachKindPaintsAByteThatReadsAsItself)
{
    const char* names[kCellKindCount] = {"open",   "start",  "exit",   "wall r", "wall g",
                                         "wall b", "wall c", "wall m", "wall y", "invisible wall"};
    for (int k = 0; k < kCellKindCount; ++k) {
        EXPECT_STREQ(cellKindName(CellKind(k)), names[k]);
        EXPECT_EQ(cellKindOf(cellKindByte(CellKind(k))), CellKind(k)) << names[k];
    }
}

}  // namespace
