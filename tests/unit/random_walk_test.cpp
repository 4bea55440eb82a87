#include <gtest/gtest.h>

#include <string>

#include "maze/maze_search.h"
#include "walker/random_walk.h"

namespace {

bool sameGrid(const maze& a, const maze& b)
{
    for (int row = 0; row < maze::kMaxSize; ++row)
        for (int column = 0; column < maze::kMaxSize; ++column)
            if (a.getElement(column, row) != b.getElement(column, row))
                return false;
    return true;
}

// Each maze is the generator's for the next seed, walked to an exit with
// exactly the keys of its shortest way; then the next one starts afresh.
TEST(RandomMazeWalk, WalksEachMazeByItsShortestWayThenStartsTheNextSeed)
{
    MazeRequest request;
    request.width = 9;
    request.height = 7;
    request.seed = 40;
    request.exits = 2;
    RandomMazeWalk walk(request);
    WalkSession session;
    walk.nextMaze(&session);
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE("maze " + std::to_string(k));
        MazeRequest expected = request;
        expected.seed = request.seed + std::uint64_t(k);
        const std::string text = generateMaze(expected);
        maze generated;
        generated.read(text.data(), text.size());
        ASSERT_TRUE(sameGrid(session.level, generated));
        std::string keys;
        ASSERT_TRUE(solveLevel(generated, &keys));
        EXPECT_EQ(session.motionKeys, 0);
        EXPECT_EQ(session.walker.position.column, generated.getStart().column);
        EXPECT_EQ(session.walker.position.row, generated.getStart().row);

        int keysBefore = 0, frames = 0;
        for (; frames < 100000; ++frames) {
            keysBefore = session.motionKeys;
            if (walk.frame(&session))
                break;
        }
        ASSERT_LT(frames, 100000) << "no exit reached";
        EXPECT_EQ(keysBefore, int(keys.size())) << keys;
    }
    EXPECT_EQ(walk.request().seed, request.seed + 5);  // the fifth maze has begun
}

}  // namespace
