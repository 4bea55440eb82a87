// The editor's grid: read as the loader reads a file, written so that the
// loader reads it back cell for cell; new mazes and resizing.
#include <gtest/gtest.h>

#include <string>

#include "maze/maze.h"
#include "maze/maze_check.h"
#include "maze/maze_grid.h"
#include "repeat_text.h"

namespace {

MazeGrid grid(const std::string& bytes)
{
    return gridFromBytes(bytes.data(), bytes.size());
}

std::string rows(const MazeGrid& g)
{
    std::string out;
    for (int r = 0; r < g.height; ++r)
        out += std::string(&g.cells[size_t(r * g.width)], size_t(g.width)) + "|";
    return out;
}

// Every trap of the file format: the grid holds what the loader draws, and
// the file written from it reads back as the same grid.
TEST(MazeGrid, ReadsAsTheLoaderAndWritesWhatReadsBack)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* expected;  // the grid's rows, "|" after each; "~" for a cell never filled
    } cases[] = {
        {"plain", "rrrr\nr*xr\nrrrr\n", "rrrr|r*xr|rrrr|"},
        {"no last line end, CR LF", "rrr\r\nr*x\r\nrrr", "rrr|r*x|rrr|"},
        {"shorter last line sets the width", "rrrrr\nr*x r\nrr\n", "rr|r*|rr|"},
        {"short and blank rows are never filled", "rrrr\nr*\n\nrrrr\n", "rrrr|r*~~|~~~~|rrrr|"},
        {"unknown bytes keep their byte", "rQr\nr*\t\nr.r\n", "rQr|r*\t|r.r|"},
        {"a lone CR is a cell, also as a drawn row's last", "r\rr\nr*\rr\nrrr\n", "r\rr|r*\r|rrr|"},
        {"byte 33 wraps", repeat("r", 32) + "Xyz\nbbb\n", "rrr|yz~|bbb|"},
        {"rows past the 32nd are dropped", repeat("g\n", 40), nullptr},
        {"0x1A ends the file", "rr\nr*\x1a" "rrr\n", "rr|r*|"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        const MazeGrid g = grid(c.bytes);
        maze m;
        m.read(c.bytes.data(), c.bytes.size());
        int width, height;
        m.getSize(width, height);
        EXPECT_EQ(g.width, width) << c.name;
        EXPECT_LE(g.height, height) << c.name;
        for (int r = 0; r < maze::kMaxSize; ++r)
            for (int col = 0; col < width; ++col)
                EXPECT_EQ(g.at(col, r), m.getElement(col, r)) << c.name << " " << col << "," << r;
        if (c.expected) {
            std::string shown = rows(g);
            for (char& x : shown)
                x = x == 0 ? '~' : x;
            EXPECT_EQ(shown, c.expected) << c.name;
        } else {
            EXPECT_EQ(g.height, 32) << c.name;
        }

        const std::string file = gridFile(g);
        size_t lineStart = 0;
        for (size_t i = 0; i < file.size(); ++i) {
            if (file[i] == '\n') {
                EXPECT_EQ(int(i - lineStart), g.width) << c.name;
                lineStart = i + 1;
            }
        }
        EXPECT_EQ(lineStart, file.size()) << c.name << ": ends with a line end";
        const MazeGrid back = grid(file);
        ASSERT_EQ(back.width, g.width) << c.name;
        ASSERT_EQ(back.height, g.height) << c.name;
        for (int r = 0; r < g.height; ++r)
            for (int col = 0; col < g.width; ++col) {
                const char was = g.at(col, r);
                const bool unwritable = was == 0 || (was == '\r' && col == g.width - 1);
                EXPECT_EQ(back.at(col, r), unwritable ? '#' : was) << c.name << " " << col << "," << r;
            }
        EXPECT_EQ(gridFile(back), file) << c.name;
    }
}

TEST(MazeGrid, NewMazes)
{
    struct Case {
        int width, height;
        const char* file;
    } cases[] = {
        {1, 1, "*x\n"},
        {2, 2, "* \n x\n"},
        {1, 3, "*\n \nx\n"},
        {3, 3, "rrr\nr*x\nrrr\n"},
        {4, 3, "rrrr\nr*xr\nrrrr\n"},
        {5, 4, "rrrrr\nr*  r\nr  xr\nrrrrr\n"},
        {0, -3, "*x\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gridFile(newMazeGrid(c.width, c.height)), c.file) << c.width << "x" << c.height;
    EXPECT_EQ(newMazeGrid(40, 33).width, 32);
    EXPECT_EQ(newMazeGrid(40, 33).height, 32);

    // Every new maze can be won, 1 by 1 too; those with room for a border surprise nobody.
    for (int w = 1; w <= 32; ++w)
        for (int h = 1; h <= 32; ++h) {
            const CheckReport report = checkMazeBytes(gridFile(newMazeGrid(w, h)));
            EXPECT_TRUE(report.playable) << w << "x" << h;
            if (w >= 4 && h >= 3) {
                EXPECT_EQ(report.findings.size(), 0u) << w << "x" << h;
            }
        }
}

TEST(MazeGrid, ResizeKeepsSharedCellsAndWallsTheNewOnes)
{
    const MazeGrid g = grid("r*x\n Q \n");
    EXPECT_EQ(rows(resizeGrid(g, 4, 3)), "r*xr| Q r|rrrr|");
    EXPECT_EQ(rows(resizeGrid(g, 2, 1)), "r*|");
    EXPECT_EQ(rows(resizeGrid(g, 0, 0)), "r|");
    EXPECT_EQ(resizeGrid(g, 99, 99).width, 32);
}

// Each finding points at the cell it names, or where what it names shows.
TEST(MazeCheck, FindingsPointAtTheirCells)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::pair<int, int>> places;
    } cases[] = {
        {"no start, no exit", "rrr\nr r\nrrr\n", {{0, 0}, {-1, -1}}},
        {"exit out of reach", "rrrrr\nr*rxr\nrrrrr\n", {{1, 1}}},
        {"edge, invisible wall, second start", "r rr\nr*x*\nrr#r\n", {{1, 0}, {1, 1}, {3, 1}, {2, 2}}},
        {"rows beyond the drawn width", "rrrrr\nr*xrr\nrrrr\n", {{3, 0}, {3, 1}}},
        {"second line wraps into row 2", "rrrr\n" + repeat("r", 33) + "\nr*xr\nrrrr\n", {{0, 2}, {3, 1}, {1, 3}, {2, 3}}},
        {"lines past the 32nd row", "rrrr\nr*xr\n" + repeat("rrrr\n", 31), {{-1, -1}}},
    };
    for (const Case& c : cases) {
        const CheckReport report = checkMazeBytes(c.bytes);
        ASSERT_EQ(report.places.size(), report.findings.size()) << c.name;
        std::vector<std::pair<int, int>> places;
        for (const FindingPlace& p : report.places)
            places.emplace_back(p.column, p.row);
        EXPECT_EQ(places, c.places) << c.name;
    }
}

}  // namespace
