// mazetool generate: every maze it writes loads, passes check, can be solved,
// and is the same for the same seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "maze/maze_check.h"
#include "maze/maze_generator.h"
#include "maze/maze_search.h"
#include "mazetool_support.h"

namespace {

bool isWallLetter(char c)
{
    return c != 0 && std::string("bcgmry").find(c) != std::string::npos;
}

// Checks the text as written, with a flood fill of the test's own: every
// open cell but the exits can be walked to from the "*" without stepping on
// an exit, and every exit borders such a cell.
void expectWellFormed(const std::string& text, const MazeRequest& req, const std::string& what)
{
    std::vector<std::string> rows = mt::splitLines(text);
    ASSERT_EQ(int(rows.size()), req.height) << what;
    ASSERT_EQ(text.back(), '\n') << what;
    int starts = 0, exits = 0;
    std::vector<std::vector<int>> reached(size_t(req.height), std::vector<int>(size_t(req.width), 0));
    std::vector<std::pair<int, int>> todo;
    for (int y = 0; y < req.height; ++y) {
        ASSERT_EQ(int(rows[size_t(y)].size()), req.width) << what << " line " << y;
        for (int x = 0; x < req.width; ++x) {
            char c = rows[size_t(y)][size_t(x)];
            bool border = x == 0 || y == 0 || x == req.width - 1 || y == req.height - 1;
            bool open = c == ' ' || c == '*' || c == 'x';
            EXPECT_TRUE(isWallLetter(c) || (open && !border)) << what << " cell " << x << " " << y;
            starts += c == '*';
            exits += c == 'x';
            if (c == '*') {
                reached[size_t(y)][size_t(x)] = 1;
                todo.push_back({x, y});
            }
        }
    }
    EXPECT_EQ(starts, 1) << what;
    EXPECT_EQ(exits, req.exits) << what;
    auto cell = [&](int x, int y) { return rows[size_t(y)][size_t(x)]; };
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : d) {
            int nx = x + s[0], ny = y + s[1];
            if (reached[size_t(ny)][size_t(nx)] || cell(nx, ny) != ' ')
                continue;
            reached[size_t(ny)][size_t(nx)] = 1;
            todo.push_back({nx, ny});
        }
    }
    for (int y = 1; y < req.height - 1; ++y)
        for (int x = 1; x < req.width - 1; ++x) {
            bool nextToReached = reached[size_t(y)][size_t(x - 1)] || reached[size_t(y)][size_t(x + 1)] ||
                                 reached[size_t(y - 1)][size_t(x)] || reached[size_t(y + 1)][size_t(x)];
            EXPECT_TRUE(cell(x, y) != ' ' || reached[size_t(y)][size_t(x)]) << what << " unreachable " << x << " " << y;
            EXPECT_TRUE(cell(x, y) != 'x' || nextToReached) << what << " exit cut off " << x << " " << y;
        }
}

TEST(MazetoolGenerate, EveryMazePassesCheckAndSolves)
{
    const int sides[] = {5, 6, 7, 8, 9, 12, 16, 17, 31, 32};
    const std::uint64_t seeds[] = {0, 1, 2, 3, 12345678901234567890ull};
    int checked = 0;
    for (int w : sides)
        for (int h : sides)
            for (std::uint64_t seed : seeds) {
                int most = maxExits(w, h);
                for (int exits : {1, (most + 1) / 2, most}) {
                    MazeRequest req{w, h, seed, exits};
                    std::string what = std::to_string(w) + "x" + std::to_string(h) + " seed " +
                                       std::to_string(seed) + " exits " + std::to_string(exits);
                    std::string text = generateMaze(req);
                    expectWellFormed(text, req, what);

                    maze m;
                    MazeLayout layout;
                    m.read(text.data(), text.size(), &layout);
                    CheckReport report;
                    checkMaze(m, layout, report);
                    EXPECT_EQ(report.findings, std::vector<std::string>{}) << what;
                    EXPECT_TRUE(report.playable) << what;
                    int lw, lh;
                    m.getSize(lw, lh);
                    EXPECT_EQ(lw, w) << what;
                    EXPECT_EQ(lh, std::min(h + 1, 32)) << what;  // the final LF adds an empty row

                    std::string keys;
                    ASSERT_TRUE(solveLevel(m, &keys)) << what;
                    EXPECT_TRUE(mt::Sim(mt::splitLines(text)).walks(keys)) << what << " " << keys;
                    ++checked;
                }
            }
    EXPECT_EQ(checked, 10 * 10 * 5 * 3);
}

TEST(MazetoolGenerate, SeedsGiveDifferentLayouts)
{
    for (int side : {13, 32}) {
        std::set<std::string> layouts;
        for (std::uint64_t seed = 0; seed < 30; ++seed) {
            std::string text = generateMaze(MazeRequest{side, side, seed, 1});
            for (char& c : text)
                if (isWallLetter(c))
                    c = '#';  // compare the corridors, not the wall colours
            layouts.insert(text);
        }
        EXPECT_EQ(layouts.size(), 30u) << side;
    }
}

// The same seed must give the same maze on every machine and in every
// release: links and daily mazes name mazes by seed. These bytes pin the
// generator's arithmetic; a change to them breaks every link made before.
TEST(MazetoolGenerate, KnownMazesForKnownSeeds)
{
    struct Case { MazeRequest req; const char* text; } cases[] = {
        {{7, 7, 7, 1},
         "bbcyyrc\n"
         "yx  y c\n"
         "gmb m m\n"
         "y r g b\n"
         "b m m g\n"
         "m*    c\n"
         "cccrgbr\n"},
        {{8, 6, 2, 3},
         "cmgbgyyy\n"
         "mxgx  xr\n"
         "g rbm gm\n"
         "c  *   y\n"
         "bcy b cm\n"
         "mgbymrrc\n"},
        {{12, 9, 5, 2},
         "mgmggcmyccmr\n"
         "y      xc  b\n"
         "g mmmygrr yc\n"
         "y m       br\n"
         "c b ycy r mm\n"
         "c m  xc c  y\n"
         "b ggmgb r bg\n"
         "y    *  y  m\n"
         "bmybcgbygmbg\n"},
        {{5, 5, 1, 2},
         "mmbrm\n"
         "r*  g\n"
         "r r y\n"
         "mxyxg\n"
         "brbmg\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(generateMaze(c.req), c.text) << c.req.width << "x" << c.req.height << " seed " << c.req.seed;
}

// The walker starts facing +x: the cell ahead of every generated start is
// open floor, and the maze stays playable.
TEST(MazetoolGenerate, TheStartFacesOpenFloor)
{
    const int sizes[][2] = {{5, 5}, {6, 5}, {5, 9}, {8, 8}, {13, 7}, {17, 32}, {31, 31}, {32, 32}};
    for (const auto& size : sizes)
        for (int exits : {1, maxExits(size[0], size[1])})
            for (std::uint64_t seed = 1; seed <= 200; ++seed) {
                const MazeRequest req{size[0], size[1], seed, exits};
                const std::string text = generateMaze(req);
                const std::vector<std::string> rows = mt::splitLines(text);
                const std::string what = std::to_string(req.width) + "x" + std::to_string(req.height) + " seed " +
                                         std::to_string(seed) + " exits " + std::to_string(exits);
                const size_t star = text.find('*');
                ASSERT_NE(star, std::string::npos) << what;
                const size_t column = star % size_t(req.width + 1), row = star / size_t(req.width + 1);
                ASSERT_EQ(rows[row][column + 1], ' ') << what;

                maze m;
                MazeLayout layout;
                m.read(text.data(), text.size(), &layout);
                CheckReport report;
                checkMaze(m, layout, report);
                ASSERT_TRUE(report.playable) << what;
            }
}

TEST(MazetoolGenerate, CommandLineWritesOnlyTheMaze)
{
    struct Case { std::string args; MazeRequest req; } cases[] = {
        {"--width 9 --height 9 --seed 7", MazeRequest{9, 9, 7, 1}},
        {"--width=6 --height=31 --seed=18446744073709551615 --exits=4", MazeRequest{6, 31, 18446744073709551615ull, 4}},
        {"--exits 3 --seed 5 --height 5 --width 32 --seed 6", MazeRequest{32, 5, 6, 3}},  // the last value wins
        {"--daily 2026-12-09", MazeRequest{32, 32, 20261209, 1}},
        {"--daily=2028-02-29", MazeRequest{32, 32, 20280229, 1}},
    };
    for (const Case& c : cases) {
        mt::ToolRun first = mt::runTool("generate " + c.args), second = mt::runTool("generate " + c.args);
        EXPECT_EQ(first.code, 0) << c.args;
        EXPECT_EQ(first.err, "") << c.args;
        EXPECT_EQ(first.out, generateMaze(c.req)) << c.args;
        EXPECT_EQ(second.out, first.out) << c.args;
    }
}

// Without --seed the seed is random, said on stderr so that the maze can be
// made again with --seed.
TEST(MazetoolGenerate, WithoutASeedTheSeedIsRandomAndSaid)
{
    std::set<std::string> seeds;
    for (int run = 0; run < 4; ++run) {
        mt::ToolRun r = mt::runTool("generate --width 9 --height 11 --exits 2");
        ASSERT_EQ(r.code, 0);
        ASSERT_EQ(r.err.compare(0, 5, "seed "), 0) << r.err;
        ASSERT_EQ(r.err.back(), '\n') << r.err;
        const std::string seed = r.err.substr(5, r.err.size() - 6);
        std::uint64_t value = 0;
        ASSERT_TRUE(parseRequestNumber(seed, UINT64_MAX, value)) << r.err;
        EXPECT_EQ(r.out, generateMaze(MazeRequest{9, 11, value, 2})) << r.err;
        EXPECT_EQ(mt::runTool("generate --width 9 --height 11 --exits 2 --seed " + seed).out, r.out) << seed;
        seeds.insert(seed);
    }
    EXPECT_GT(seeds.size(), 1u);  // four equal 32-bit draws: once in 2^96 runs
}

TEST(MazetoolGenerate, RefusesBadValues)
{
    const std::string side = " must be a whole number from 5 to 32 (the border included), not '";
    struct Case { const char* args; std::string err; } cases[] = {
        {"--width 4", "--width" + side + "4'"},
        {"--width 33", "--width" + side + "33'"},
        {"--height 0", "--height" + side + "0'"},
        {"--height 10x", "--height" + side + "10x'"},
        {"--width -7", "--width" + side + "-7'"},
        {"--width ''", "--width" + side + "'"},
        {"--seed 18446744073709551616", "--seed must be a whole number from 0 to 18446744073709551615, not '18446744073709551616'"},
        {"--seed -1", "--seed must be a whole number from 0 to 18446744073709551615, not '-1'"},
        {"--exits 0", "--exits must be a whole number from 1 to 197 for a 32 by 32 maze, not '0'"},
        {"--width 5 --height 5 --exits 3", "--exits must be a whole number from 1 to 2 for a 5 by 5 maze, not '3'"},
        {"--width", "--width needs a value"},
        {"--colour red", "unknown option '--colour'"},
        {"maze.dat", "unexpected argument 'maze.dat'"},
        {"--daily 2026-02-29", "--daily must be a real date written YYYY-MM-DD, not '2026-02-29': February 2026 has 28 days"},
        {"--daily=2026-1-09", "--daily must be a real date written YYYY-MM-DD, not '2026-1-09': write it as four, two and two digits"},
        {"--daily 2026-12-09 --exits 1", "--daily cannot be combined with --exits"},
        {"--seed 4 --daily 2026-12-09", "--daily cannot be combined with --seed"},
        {"--daily", "--daily needs a value"},
    };
    for (const Case& c : cases) {
        mt::ToolRun r = mt::runTool(std::string("generate ") + c.args);
        EXPECT_EQ(r.code, 2) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_EQ(r.err, "mazetool: generate: " + c.err + "\n(run 'mazetool help' for usage)\n") << c.args;
    }
}

}  // namespace
