// The shipped levels, assets/levels/01.dat on: each passes `mazetool check`
// and can be solved, and they grow harder in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "maze/cell_kind.h"
#include "maze/maze.h"
#include "maze/maze_search.h"
#include "mazetool_support.h"

namespace {

struct Level {
    std::string path, text;
    int cells = 0;      // width times height
    int exits = 0;
    int invisible = 0;  // walls that block but are not drawn
    size_t keys = 0;    // presses of the shortest way
};

// Every level file from 01.dat up to the first number missing.
std::vector<Level> shippedLevels()
{
    std::vector<Level> levels;
    for (int n = 1;; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "/%02d.dat", n);
        Level level;
        level.path = std::string(MAZE_ASSETS_DIR) + "/levels" + name;
        std::ifstream in(level.path, std::ios::binary);
        if (!in)
            return levels;
        std::ostringstream bytes;
        bytes << in.rdbuf();
        level.text = bytes.str();
        levels.push_back(level);
    }
}

TEST(Levels, EveryLevelIsPlayableAndTheyGrowHarder)
{
    std::vector<Level> levels = shippedLevels();
    ASSERT_GE(levels.size(), 20u);
    for (Level& level : levels) {
        SCOPED_TRACE(level.path);
        const mt::ToolRun check = mt::runTool("check " + mt::quoted(level.path));
        EXPECT_EQ(check.code, 0) << check.out << check.err;
        EXPECT_NE(check.out.find(" playable\n"), std::string::npos) << check.out;

        maze m;
        m.read(level.text.data(), level.text.size());
        std::string keys;
        ASSERT_TRUE(solveLevel(m, &keys));
        level.keys = keys.size();
        const std::vector<std::string> rows = mt::splitLines(level.text);
        level.cells = int(rows.size() * rows[0].size());
        for (char c : level.text) {
            level.exits += c == 'x';
            level.invisible += c != '\n' && cellKindOf(c) == CellKind::Invisible;
        }
    }

    EXPECT_EQ(levels.front().text.size(), 5u * 6u) << "the first level is 5 by 5";
    EXPECT_EQ(levels.back().cells, 32 * 32) << "the last level is full size";
    EXPECT_GT(levels.front().exits, 1) << "the first levels forgive a wrong turn";
    size_t hardest = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        const Level& level = levels[i];
        SCOPED_TRACE(level.path);
        if (i > 0) {
            const Level& before = levels[i - 1];
            EXPECT_GE(level.cells, before.cells);
            EXPECT_LE(level.exits, before.exits);
            EXPECT_GE(level.invisible, before.invisible);
            EXPECT_NE(level.text, before.text);
        }
        // The shortest way may dip a little, never back to an easier level's.
        EXPECT_GE(level.keys * 10, hardest * 9) << level.keys << " keys after " << hardest;
        hardest = std::max(hardest, level.keys);
        if (i < levels.size() * 3 / 4) {
            EXPECT_EQ(level.invisible, 0) << "invisible walls come only in the last quarter";
        }
    }
    EXPECT_GT(levels.back().invisible, 0);
}

}  // namespace
