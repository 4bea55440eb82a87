#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "maze/maze.h"
#include "temp_file.h"

namespace {

struct Loaded {
    maze m;
    bool ok = false;
    std::string out;
    int width = -1, height = -1;
};

// Loads through the file, and checks that reading the bytes from memory
// stores exactly the same maze.
void load(Loaded& l, const std::string& bytes)
{
    TempFile file(bytes);
    testing::internal::CaptureStdout();
    l.ok = l.m.loadLevel(file.path);
    l.out = testing::internal::GetCapturedStdout();
    l.m.getSize(l.width, l.height);

    maze fromBytes;
    fromBytes.read(bytes.data(), bytes.size());
    int w = -1, h = -1;
    fromBytes.getSize(w, h);
    EXPECT_EQ(w, l.width);
    EXPECT_EQ(h, l.height);
    for (int r = 0; r < maze::kMaxSize; ++r)
        for (int c = 0; c < maze::kMaxSize; ++c)
            ASSERT_EQ(fromBytes.getElement(c, r), l.m.getElement(c, r)) << c << "," << r;
    ASSERT_EQ(fromBytes.getExitCount(), l.m.getExitCount());
    EXPECT_EQ(fromBytes.getStart().column, l.m.getStart().column);
    EXPECT_EQ(fromBytes.getStart().row, l.m.getStart().row);
}

std::string row(char c, int n) { return std::string(size_t(n), c); }

TEST(MazeLoader, SizesFollowTheRowPasses)
{
    struct Case { const char* name; std::string bytes; int width, height; } cases[] = {
        {"empty file", "", 0, 1},
        {"single LF", "\n", 0, 2},
        {"two lines with LF", "ab\ncd\n", 2, 3},
        {"two lines without final LF", "ab\ncd", 2, 2},
        {"width is the last stored row", row('a', 10) + "\n" + row('b', 20) + "\n" + row('c', 5) + "\n", 5, 4},
        {"empty last line keeps width", "abc\n\n", 3, 3},
        {"CR LF line ends", "ab\r\ncd\r\n", 2, 3},
        {"CR CR LF keeps a CR cell", "abcde\r\r\n", 6, 2},
        {"0x1A ends the file", "abc\nde\x1A" "fgh\nijk\n", 2, 2},
        {"31 lines", [] { std::string s; for (int i = 0; i < 31; ++i) s += "ab\n"; return s; }(), 2, 32},
        {"32 lines", [] { std::string s; for (int i = 0; i < 32; ++i) s += "ab\n"; return s; }(), 2, 32},
        {"40 lines", [] { std::string s; for (int i = 0; i < 40; ++i) s += "ab\n"; return s; }(), 2, 32},
        {"32-byte line", row('a', 32) + "\n", 32, 2},
        {"40-byte line wraps", row('a', 40) + "\n", 7, 3},
    };
    for (auto& c : cases) {
        Loaded l;
        load(l, c.bytes);
        EXPECT_TRUE(l.ok) << c.name;
        EXPECT_EQ(l.out, "load succesful\n") << c.name;
        EXPECT_EQ(l.width, c.width) << c.name;
        EXPECT_EQ(l.height, c.height) << c.name;
    }
}

TEST(MazeLoader, CellsAreStoredByColumnAndRow)
{
    Loaded l;
    load(l, "ab\ncd\n");
    EXPECT_EQ(l.m.getElement(1, 0), 'b');
    EXPECT_EQ(l.m.getElement(0, 1), 'c');
    for (int c = 0; c < 32; ++c)
        EXPECT_EQ(l.m.getElement(c, 2), 0);

    Loaded mixed;
    load(mixed, row('a', 10) + "\n" + row('b', 20) + "\n" + row('c', 5) + "\n");
    EXPECT_EQ(mixed.m.getElement(7, 1), 'b');
    EXPECT_EQ(mixed.m.getElement(7, 2), 0);
}

TEST(MazeLoader, LineEndsAndSpecialBytes)
{
    Loaded lf, crlf;
    load(lf, "r *\ng x\n");
    load(crlf, "r *\r\ng x\r\n");
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c)
            ASSERT_EQ(lf.m.getElement(c, r), crlf.m.getElement(c, r)) << c << "," << r;
    EXPECT_EQ(crlf.width, lf.width);
    EXPECT_EQ(crlf.height, lf.height);

    Loaded cr;
    load(cr, "ab\rc\n");  // a lone CR is a cell
    EXPECT_EQ(cr.m.getElement(2, 0), '\r');
    EXPECT_EQ(cr.width, 4);

    Loaded stop;
    load(stop, "ab\ncd\x1Ax\nef\n");
    EXPECT_EQ(stop.height, 2);
    EXPECT_EQ(stop.m.getElement(1, 1), 'd');
    EXPECT_EQ(stop.m.getElement(2, 1), 0);
    EXPECT_EQ(stop.m.getExitCount(), 0);

    Loaded bytes;
    load(bytes, std::string("a\0b\t\xff", 5) + "\n");
    EXPECT_EQ(bytes.m.getElement(1, 0), 0);
    EXPECT_EQ(bytes.m.getElement(3, 0), '\t');
    EXPECT_EQ(bytes.m.getElement(4, 0), '\xff');
    EXPECT_EQ(bytes.width, 5);
}

TEST(MazeLoader, LongLinesWrapAndDropTheThirtyThirdByte)
{
    // Byte 33 is an "x": consumed, not stored, not an exit.
    std::string line = row('a', 32) + "x" + "bcdefgh" + "\n" + "zz\n";
    Loaded l;
    load(l, line);
    EXPECT_EQ(l.m.getElement(31, 0), 'a');
    EXPECT_EQ(l.m.getElement(0, 1), 'b');
    EXPECT_EQ(l.m.getElement(6, 1), 'h');
    EXPECT_EQ(l.m.getElement(0, 2), 'z');
    EXPECT_EQ(l.m.getExitCount(), 0);
}

TEST(MazeLoader, StartAndExits)
{
    Loaded l;
    load(l, "x * \n  x*\nx   \n");
    point2 s = l.m.getStart();
    EXPECT_EQ(s.column, 3);  // the later "*" wins
    EXPECT_EQ(s.row, 1);
    EXPECT_EQ(l.m.getElement(2, 0), '*');
    ASSERT_EQ(l.m.getExitCount(), 3);
    int want[3][2] = {{0, 0}, {2, 1}, {0, 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(l.m.getExit(i).column, want[i][0]);
        EXPECT_EQ(l.m.getExit(i).row, want[i][1]);
    }

    Loaded none;
    load(none, "abc\nX  \n");  // "X" is no exit
    EXPECT_EQ(none.m.getStart().column, 0);
    EXPECT_EQ(none.m.getStart().row, 0);
    EXPECT_EQ(none.m.getExitCount(), 0);

    Loaded late;  // an "x" on the 33rd line is never read
    std::string lines;
    for (int i = 0; i < 32; ++i) lines += "aa\n";
    load(late, lines + "x\n");
    EXPECT_EQ(late.m.getExitCount(), 0);
}

TEST(MazeLoader, QueriesOutsideTheGridReadNothing)
{
    Loaded l;
    load(l, row('r', 32) + "\n");
    EXPECT_EQ(l.m.getElement(-1, 0), 0);
    EXPECT_EQ(l.m.getElement(32, 0), 0);
    EXPECT_EQ(l.m.getElement(0, -1), 0);
    EXPECT_EQ(l.m.getElement(0, 32), 0);
    EXPECT_EQ(l.m.getExit(0).column, 0);
    EXPECT_EQ(l.m.getExit(-1).row, 0);
}

TEST(MazeLoader, MissingFileOrNoRegularFileFailsSilentlyAndLeavesTheMaze)
{
    char dir[] = "/tmp/maze_dir_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string fifo = std::string(dir) + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/nonexistent/maze1.dat"), std::string(dir), fifo}) {
        maze m;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(m.loadLevel(path)) << path;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << path;
        int w = -1, h = -1;
        m.getSize(w, h);
        EXPECT_EQ(w, 0);
        EXPECT_EQ(h, 0);
    }
    std::remove(fifo.c_str());
    rmdir(dir);
}

TEST(MazeReader, RecordsWhatItStoredAndWhereItStopped)
{
    std::string rows31;
    for (int i = 0; i < 31; ++i)
        rows31 += "ab\n";
    const std::vector<int> twos31(31, 2), twos32(32, 2);
    auto plus = [](std::vector<int> v, std::vector<int> more) {
        v.insert(v.end(), more.begin(), more.end());
        return v;
    };
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<int> rowLengths;  // of the first rows; the rest are 0
        std::vector<int> lineLengths;
        int stopLine, stopByte, stars;
    } cases[] = {
        {"plain", "r*r\n*\n", {3, 1}, {3, 1}, 0, 0, 2},
        {"last line without LF", "ab\r\ncde", {2, 3}, {2, 3}, 0, 0, 0},
        {"long line wraps", row('a', 34) + "\n", {32, 1}, {34}, 0, 0, 0},
        {"0x1A ends it", "ab\ncd\x1A" "ef\n", {2, 2}, {2, 2}, 0, 0, 0},
        {"blank lines after 32 rows", rows31 + "ab\n\n\n", twos32, plus(twos32, {0, 0}), 0, 0, 0},
        {"a 33rd line", rows31 + "ab\n\n\nxy\n", twos32, plus(twos32, {0, 0}), 35, 1, 0},
        {"the 32nd row ends inside its line", rows31 + row('a', 40) + "\n", plus(twos31, {32}), twos31, 32, 34, 0},
    };
    for (const Case& c : cases) {
        maze m;
        MazeLayout layout;
        m.read(c.bytes.data(), c.bytes.size(), &layout);
        for (int r = 0; r < maze::kMaxSize; ++r)
            EXPECT_EQ(layout.rowLength[r], r < int(c.rowLengths.size()) ? c.rowLengths[size_t(r)] : 0)
                << c.name << " row " << r;
        EXPECT_EQ(layout.lineLengths, c.lineLengths) << c.name;
        EXPECT_EQ(layout.stopLine, c.stopLine) << c.name;
        EXPECT_EQ(layout.stopByte, c.stopByte) << c.name;
        EXPECT_EQ(layout.starCount, c.stars) << c.name;
    }
}

}  // namespace
