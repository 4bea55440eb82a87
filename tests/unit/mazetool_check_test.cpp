// mazetool check, through the real binary: exact lines and exit codes.
#include <gtest/gtest.h>

#include <string>

#include "mazetool_support.h"
#include "repeat_text.h"

namespace {

const std::string kEdge = ": open cell on the edge of the grid, no wall is drawn beside it";
const std::string kBeyond4 = ": not drawn, beyond the drawn width 4 (the length of the last non-empty row)";
const std::string kBeyond5 = ": not drawn, beyond the drawn width 5 (the length of the last non-empty row)";

TEST(MazetoolCheck, OneMazePerFinding)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string out;
        int code;
    } cases[] = {
        {"clean", "rrrrr\nr* xr\nrrrrr\n", "0 findings: playable\n", 0},
        {"clean with CR LF and no final line end", "rrrrr\r\nr*xrr\r\nrrrrr", "0 findings: playable\n", 0},
        {"short row closed by a wall", "rrrrr\nr*xr\nrrrrr\n", "0 findings: playable\n", 0},
        {"no start: the walker is inside the wall at 0 0", "rrrrr\nr  xr\nrrrrr\n",
         "no start (\"*\"): the walker starts at cell 0 0\nno exit reachable from the start\n"
         "2 findings: not playable\n", 1},
        // The walker stands on 0 0 and could reach the exit, but a maze
        // without a start is not playable; every cell borders the void.
        {"no start, but 0 0 is open", "  x\n",
         "no start (\"*\"): the walker starts at cell 0 0\n"
         "cell 0 0" + kEdge + "\ncell 1 0" + kEdge + "\ncell 2 0" + kEdge + "\n"
         "4 findings: not playable\n", 1},
        {"no exit", "rrrr\nr* r\nrrrr\n", "no exit (\"x\")\n1 finding: not playable\n", 1},
        {"exit behind a wall", "rrrrrr\nr*rxrr\nrrrrrr\n", "no exit reachable from the start\n1 finding: not playable\n", 1},
        {"empty file", "", "no start (\"*\"): the walker starts at cell 0 0\nno exit (\"x\")\n2 findings: not playable\n", 1},
        {"open cell on the right edge", "rrrr\nr*x \nrrrr\n", "cell 3 1" + kEdge + "\n1 finding: playable\n", 0},
        {"gap in the top wall", "rr rr\nr*x r\nrrrrr\n", "cell 2 0" + kEdge + "\n1 finding: playable\n", 0},
        {"open cell above a cell the file never filled", "rrrrr\nr*x r\nrrr\nrrrrr\n",
         "cell 3 1" + kEdge + "\n1 finding: playable\n", 0},
        {"invisible walls", std::string("rRr\tr\nr*x\0r\nrrrrr\n", 18),
         "cell 1 0: invisible wall (byte 0x52 \"R\")\ncell 3 0: invisible wall (byte 0x09)\n"
         "cell 3 1: invisible wall (byte 0x00)\n3 findings: playable\n", 0},
        {"a lone CR is a cell", "rrrrr\nr*x\rr\nrrrrr\n", "cell 3 1: invisible wall (byte 0x0d)\n1 finding: playable\n", 0},
        {"rows longer than the last one", "rrrrrrr\nr*xrrrr\nrrrr\n",
         "row 0, columns 4 to 6" + kBeyond4 + "\nrow 1, columns 4 to 6" + kBeyond4 + "\n2 findings: playable\n", 0},
        {"second start", "rrrrr\nr*x*r\nrrrrr\n",
         "cell 1 1: another \"*\": the start is the last one, cell 3 1\n1 finding: playable\n", 0},
        {"line longer than 32 bytes", repeat("r", 32) + "X" + "rrrrr\nr*xrr\nrrrrr\n",
         "line 1: 38 bytes, longer than 32: byte 33 is dropped and what follows starts a new row\n"
         "row 0, columns 5 to 31" + kBeyond5 + "\n2 findings: playable\n", 0},
        {"more than 32 lines", "rrrrr\nr*xrr\n" + repeat("rrrrr\n", 31) + "x\n",
         "line 33, and every line after it: not read (only 32 rows are read)\n1 finding: playable\n", 0},
        {"32 rows end inside a line", "rrrrr\nr*xrr\n" + repeat("rrrrr\n", 29) + repeat("r", 32) + "abcdefgh\nrrrrr\n",
         "line 32 from byte 34 on, and every line after it: not read (only 32 rows are read)\n1 finding: playable\n", 0},
        {"blank lines after 32 rows do not matter", "rrrrr\nr*xrr\n" + repeat("rrrrr\n", 30) + "\n\n",
         "0 findings: playable\n", 0},
        {"0x1A ends the file", "rrrrr\nr*xrr\nrrrrr\n\x1a" "junk\n", "0 findings: playable\n", 0},
    };
    for (const Case& c : cases) {
        mt::TempFile f(c.bytes);
        mt::ToolRun r = mt::runTool("check " + mt::quoted(f.path));
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.code, c.code) << c.name;
        EXPECT_EQ(r.err, "") << c.name;
    }
}

TEST(MazetoolCheck, ShippedMazeIsClean)
{
    mt::ToolRun r = mt::runTool("check " + mt::quoted(std::string(MAZE_ASSETS_DIR) + "/maze1.dat"));
    EXPECT_EQ(r.out, "0 findings: playable\n");
    EXPECT_EQ(r.code, 0);
}

TEST(MazetoolCheck, UsageAndMissingFiles)
{
    struct Case { const char* args; int code; const char* err; } cases[] = {
        {"check", 2, "mazetool: check: no maze file given\n"},
        {"check a b", 2, "mazetool: check: more than one maze file given\n"},
        {"check --fast a", 2, "mazetool: check: unknown option '--fast'\n"},
        {"check /nonexistent/maze1.dat", 1, "mazetool: \"/nonexistent/maze1.dat\" can not be opened: No such file or directory\n"},
    };
    for (const auto& c : cases) {
        mt::ToolRun r = mt::runTool(c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_EQ(r.err.substr(0, std::string(c.err).size()), c.err) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
}

}  // namespace
