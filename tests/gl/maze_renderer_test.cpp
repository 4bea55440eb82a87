#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/main2.h"
#include "gl_context.h"
#include "render/maze_renderer.h"
#include "temp_file.h"
#include "texture_files.h"

namespace {

const int kSize = 64;

struct Rgb {
    int r, g, b;
};

bool near(const Rgb& a, const Rgb& b) { return std::abs(a.r - b.r) <= 1 && std::abs(a.g - b.g) <= 1 && std::abs(a.b - b.b) <= 1; }

std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << "(" << c.r << "," << c.g << "," << c.b << ")"; }

const Rgb kSky = {127, 127, 255};
const Rgb kFloor = {127, 127, 127};

class MazeRendererTest : public testing::Test {
protected:
    // Start-up loads the textures from the working directory: plain ones in
    // the renderer's own colours, so the frame looks the same with texturing.
    void SetUp() override
    {
        ASSERT_TRUE(gl.ok()) << "no headless GL context";
        textures = makeTextureFolder();
        ASSERT_EQ(chdir(textures.c_str()), 0);
    }
    void TearDown() override { removeFolder(textures); }

    // Starts the program's view on a maze: the real viewInit path, then the projection.
    void start(const std::string& text)
    {
        file = std::make_unique<TempFile>(text);
        g_level = maze();
        g_fileName = file->path;
        testing::internal::CaptureStdout();
        viewInit();
        testing::internal::GetCapturedStdout();
        reshape(kSize, kSize);
    }

    Rgb draw(int x = kSize / 2, int y = kSize / 2)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawLevel();
        glFinish();
        uint8_t px[3];
        gl.pixel(x, y, px);
        return {px[0], px[1], px[2]};
    }

    GlContext gl{kSize, kSize};
    std::unique_ptr<TempFile> file;
    std::string textures;
};

TEST_F(MazeRendererTest, TheWallAheadShowsItsColour)
{
    struct Case { char cell; Rgb colour; } cases[] = {
        {'r', {255, 0, 0}}, {'g', {0, 255, 0}}, {'b', {0, 0, 255}},
        {'c', {0, 255, 255}}, {'m', {255, 0, 255}}, {'y', {255, 255, 0}},
    };
    for (const Case& c : cases) {
        start(std::string("*  ") + c.cell + "\n");
        Rgb centre = draw();
        EXPECT_TRUE(near(centre, c.colour)) << c.cell << " drew " << centre;
        Rgb bottom = draw(kSize / 2, 1);
        EXPECT_TRUE(near(bottom, kFloor)) << "floor under the walker drew " << bottom;
        Rgb top = draw(kSize / 2, kSize - 2);
        EXPECT_TRUE(near(top, kSky)) << "sky drew " << top;
    }
}

TEST_F(MazeRendererTest, BytesWithoutALookDrawNothing)
{
    for (const char* text : {"*  R\n", "*  \t\n", "*  #\n"}) {
        start(text);
        EXPECT_TRUE(near(draw(), kSky)) << text;
    }
    CellLook look;
    EXPECT_FALSE(cellLook(0, look));
    EXPECT_FALSE(cellLook('X', look));
}

TEST_F(MazeRendererTest, OnlyCellsWithinTheLastRowsWidthAreDrawn)
{
    start("*  r\n");
    EXPECT_TRUE(near(draw(), Rgb{255, 0, 0}));
    // The last row that stored a cell is one byte long, so the "r" is beyond the width.
    start("*  r\n \n");
    EXPECT_TRUE(near(draw(), kSky));
}

TEST_F(MazeRendererTest, AFloorSeenFromBelowAndACubeFromInsideDrawNothing)
{
    start("* \n");
    g_camera.set(Point3(0, -3, 0), Point3(0.01f, 0, 0), Vector3(0, 1, 0));
    for (int y : {4, kSize / 2, kSize - 4})
        EXPECT_TRUE(near(draw(kSize / 2, y), kSky)) << "row " << y;

    start("r\n");
    g_camera.set(Point3(0.1f, 0.2f, 0.1f), Point3(10, 0.2f, 0.1f), Vector3(0, 1, 0));
    for (int y : {4, kSize / 2, kSize - 4})
        EXPECT_TRUE(near(draw(kSize / 2, y), kSky)) << "row " << y;
}

TEST_F(MazeRendererTest, TheCameraStartsOnTheStartCellLookingAlongX)
{
    // Start in column 6: the walker faces +x, and so must the view.
    start("      *  g\n");
    EXPECT_FLOAT_EQ(g_camera.eye.x, 12.0f);
    EXPECT_FLOAT_EQ(g_camera.eye.y, 0.5f);
    EXPECT_TRUE(near(draw(), Rgb{0, 255, 0}));
}

}  // namespace
