// mazetool solve: the fewest key presses, checked against a brute-force
// search over key sequences with the test's own walker simulator.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/main2.h"
#include "app/walker.h"
#include "maze/cell_rules.h"
#include "maze/maze_search.h"
#include "mazetool_support.h"

namespace {

std::string join(const std::vector<std::string>& rows)
{
    std::string s;
    for (const std::string& r : rows)
        s += r + "\n";
    return s;
}

// Solves through the module, the way the subcommand does.
bool solveRows(const std::vector<std::string>& rows, std::string& keys)
{
    const std::string text = join(rows);
    maze m;
    m.read(text.data(), text.size());
    return solveLevel(m, &keys);
}

// Every key sequence of the given length in the order w, s, a, d, skipping
// only presses that can never be part of a shortest one: a refused step and
// a turn straight back. The first that ends on an exit with its last press.
bool firstOfLength(const mt::Sim& base, mt::Sim& sim, std::string& keys, int length)
{
    if (int(keys.size()) == length)
        return false;
    static const char kKeys[] = "wsad";
    for (int k = 0; k < 4; ++k) {
        char key = kKeys[k];
        if (!keys.empty() && ((key == 'a' && keys.back() == 'd') || (key == 'd' && keys.back() == 'a')))
            continue;
        mt::Sim saved = sim;
        bool onExit = sim.press(key);
        bool moved = sim.column != saved.column || sim.row != saved.row || sim.heading != saved.heading;
        keys += key;
        if (moved && ((onExit && int(keys.size()) == length) ||
                      (!onExit && firstOfLength(base, sim, keys, length))))
            return true;
        keys.pop_back();
        sim = saved;
    }
    return false;
}

bool bruteForce(const std::vector<std::string>& rows, int maxLength, std::string& keys)
{
    mt::Sim base(rows);
    for (int length = 1; length <= maxLength; ++length) {
        mt::Sim sim = base;
        keys.clear();
        if (firstOfLength(base, sim, keys, length))
            return true;
    }
    return false;
}

TEST(MazetoolSolve, TurningAroundAndTies)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        const char* keys;
    } cases[] = {
        {"exit behind: one step back", {"rrrrr", "rx*rr", "rrrrr"}, "s"},
        {"four steps back beat a half turn", {"rrrrrrrr", "rx   *rr", "rrrrrrrr"}, "ssss"},
        {"back, then left turn and forward", {"rrrrr", "rrxrr", "rr *r", "rrrrr"}, "saw"},
        {"back, then left turn and back", {"rrrrr", "rr *r", "rrxrr", "rrrrr"}, "sas"},
        {"corner to the right: left turn, then backward", {"rrrrr", "r*  r", "rrr r", "rrrxr", "rrrrr"}, "wwass"},
        // "dww" is as short: ties go to the first in the order w, s, a, d.
        {"down: left turn and two steps back", {"rrrrrr", "rr*rrr", "rr rrr", "rrx rr", "rrrrrr"}, "ass"},
        {"the first exit on the way ends it", {"rrrrrr", "r*xx r", "rrrrrr"}, "w"},
        // No "*": the walker stands on the exit at 0 0, which counts only
        // after a completed step onto it.
        {"standing on an exit does not count", {"x r", "rrr"}, "ws"},
    };
    for (const Case& c : cases) {
        std::string keys, brute;
        ASSERT_TRUE(solveRows(c.rows, keys)) << c.name;
        EXPECT_EQ(keys, c.keys) << c.name;
        ASSERT_TRUE(bruteForce(c.rows, 8, brute)) << c.name;
        EXPECT_EQ(keys, brute) << c.name;
        EXPECT_TRUE(mt::Sim(c.rows).walks(keys)) << c.name;
    }
}

TEST(MazetoolSolve, AgreesWithBruteForceOnRandomMazes)
{
    const int kMaxLength = 9;
    std::mt19937 rng(20240611);  // the engine's output is fixed by the standard
    int solvedShort = 0, unsolved = 0;
    for (int n = 0; n < 150; ++n) {
        int w = 5 + int(rng() % 3), h = 5 + int(rng() % 3);
        std::vector<std::string> rows(size_t(h), std::string(size_t(w), 'g'));
        std::vector<std::pair<int, int>> open;
        for (int y = 1; y < h - 1; ++y)
            for (int x = 1; x < w - 1; ++x)
                if (rng() % 10 < 6) {
                    rows[size_t(y)][size_t(x)] = ' ';
                    open.push_back({x, y});
                }
        if (open.size() < 2)
            continue;
        auto mark = [&](char c) {
            auto p = open[rng() % open.size()];
            rows[size_t(p.second)][size_t(p.first)] = c;
        };
        mark('x');
        if (rng() % 2)
            mark('x');
        mark('*');  // may overwrite an exit; then the maze has fewer

        std::string keys, brute;
        bool solved = solveRows(rows, keys);
        bool found = bruteForce(rows, kMaxLength, brute);
        std::string shown = join(rows);
        if (found) {
            ++solvedShort;
            ASSERT_TRUE(solved) << shown;
            EXPECT_EQ(keys, brute) << shown;
        } else if (solved) {
            EXPECT_GT(int(keys.size()), kMaxLength) << shown;
        } else {
            ++unsolved;
        }
        if (solved) {
            EXPECT_TRUE(mt::Sim(rows).walks(keys)) << shown << keys;
            // Halfway along a shortest way, what is left is a shortest way from there.
            maze m;
            m.read(shown.data(), shown.size());
            point2 at = m.getStart();
            int heading = 1;
            const size_t half = keys.size() / 2;
            for (size_t i = 0; i < half; ++i) {
                const char k = keys[i];
                if (k == 'a' || k == 'd')
                    heading = (heading + (k == 'a' ? 3 : 1)) % 4;
                else
                    at = stepTarget(at, heading, k == 's');
            }
            std::string rest;
            ASSERT_TRUE(solveFrom(m, at, heading, &rest)) << shown << keys;
            EXPECT_EQ(rest.size(), keys.size() - half) << shown << keys;
        }
    }
    // The sample must exercise both outcomes.
    EXPECT_GT(solvedShort, 50);
    EXPECT_GT(unsolved, 5);
}

TEST(MazetoolSolve, ShippedMaze)
{
    std::string path = std::string(MAZE_ASSETS_DIR) + "/maze1.dat";
    mt::ToolRun r = mt::runTool("solve " + mt::quoted(path));
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(r.out.back(), '\n');
    std::string keys = r.out.substr(0, r.out.size() - 1);
    EXPECT_EQ(keys.find_first_not_of("wsad"), std::string::npos) << keys;
    EXPECT_TRUE(mt::Sim(mt::splitLines(mt::readFile(path))).walks(keys)) << keys;
}

TEST(MazetoolSolve, CommandLine)
{
    mt::TempFile turn("rrrrr\nrrxrr\nrr *r\nrrrrr\n"), closed("rrrr\nr* r\nrrrr\n");
    struct Case { std::string args; int code; std::string out, err; } cases[] = {
        {"solve " + turn.path, 0, "saw\n", ""},
        {"solve " + closed.path, 1, "", "mazetool: solve: no exit can be reached from the start\n"},
        {"solve /nonexistent/maze1.dat", 1, "", "mazetool: \"/nonexistent/maze1.dat\" can not be opened: No such file or directory\n"},
        {"solve", 2, "", "mazetool: solve: no maze file given\n"},
        {"solve a b", 2, "", "mazetool: solve: more than one maze file given\n"},
        {"solve -x a", 2, "", "mazetool: solve: unknown option '-x'\n"},
    };
    for (const Case& c : cases) {
        mt::ToolRun r = mt::runTool(c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args;
    }
}

TEST(MazetoolSolve, LeavesTheWalkerWhereItWas)
{
    g_position = point2{5, 6};
    g_heading = 3;
    std::string keys;
    EXPECT_TRUE(solveRows({"rrrrr", "rx*rr", "rrrrr"}, keys));
    EXPECT_EQ(g_position.column, 5);
    EXPECT_EQ(g_position.row, 6);
    EXPECT_EQ(g_heading, 3);
}

}  // namespace
