// Exits drawn marked (--show-exits): the real start-up and renderer with the
// shipped textures, an exit's floor against open floor in the same place.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/main2.h"
#include "gl_context.h"
#include "temp_file.h"
#include "texture_files.h"

namespace {

const int kSize = 128;

class ExitFloorTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ok()) << "no headless GL context";
        textures = makeShippedTextureFolder();
        ASSERT_EQ(chdir(textures.c_str()), 0);
    }
    void TearDown() override
    {
        g_showExits = false;
        removeFolder(textures);
    }

    // The first frame of the maze `text`, started as the program starts, RGBA bottom row first.
    std::vector<uint8_t> draw(const std::string& text, bool showExits)
    {
        TempFile file(text);
        g_level = maze();
        g_fileName = file.path;
        g_showExits = showExits;
        testing::internal::CaptureStdout();
        viewInit();
        testing::internal::GetCapturedStdout();
        reshape(kSize, kSize);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawLevel();
        glFinish();
        return gl.readPixels();
    }

    GlContext gl{kSize, kSize};
    std::string textures;
};

TEST_F(ExitFloorTest, AnExitStandsOutFromFloorAtEveryDistanceInViewOnlyWhenShown)
{
    // One row, the walker facing along it: the view ends within the sixth cell.
    const std::string open = "*     \n";
    const std::vector<uint8_t> floor = draw(open, false);
    EXPECT_EQ(draw(open, true), floor) << "shown exits changed a maze without exits";
    for (int column = 1; column <= 5; ++column) {
        SCOPED_TRACE("exit in column " + std::to_string(column));
        std::string text = open;
        text[size_t(column)] = 'x';
        EXPECT_EQ(draw(text, false), floor) << "without the option an exit is plain floor";

        const std::vector<uint8_t> marked = draw(text, true);
        int changed = 0, notGreener = 0;
        for (size_t i = 0; i < floor.size(); i += 4) {
            if (marked[i] == floor[i] && marked[i + 1] == floor[i + 1] && marked[i + 2] == floor[i + 2])
                continue;
            ++changed;
            // Green over red and blue, well beyond what the floor has there.
            const int greenBefore = 2 * floor[i + 1] - floor[i] - floor[i + 2];
            const int greenAfter = 2 * marked[i + 1] - marked[i] - marked[i + 2];
            if (greenAfter - greenBefore < 100)
                ++notGreener;
        }
        EXPECT_GE(changed, 10) << "too few pixels of the exit's floor stand out";
        EXPECT_EQ(notGreener, 0) << "of " << changed << " changed pixels";
    }
}

}  // namespace
