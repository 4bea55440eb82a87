#include <gtest/gtest.h>

#include <GL/gl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/main2.h"
#include "gl_context.h"
#include "view/cell_culling.h"
#include "render/display_lists.h"
#include "render/maze_renderer.h"
#include "render/texture_set.h"
#include "temp_file.h"
#include "texture_files.h"

namespace {

// The renderer as it was before culling: every drawn cell, with blending on
// as viewInit leaves it, texturing switched on at the first cell.
void drawEveryCellWithBlending()
{
    int width, height;
    g_level.getSize(width, height);
    glMatrixMode(GL_MODELVIEW);
    bool texturing = false;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            CellLook look;
            if (!cellLook(g_level.getElement(column, row), look))
                continue;
            glPushMatrix();
            if (!texturing) {
                glEnable(GL_TEXTURE_2D);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
                texturing = true;
            }
            glTranslatef(float(column * g_cubeFactor), 0.0f, float(row * g_cubeFactor));
            glColor3f(look.r, look.g, look.b);
            glBindTexture(GL_TEXTURE_2D, g_textures[look.textureSlot]);
            glCallList(look.wall ? g_cube : g_floor);
            glPopMatrix();
        }
    }
    if (texturing)
        glDisable(GL_TEXTURE_2D);
}

bool isOpen(char c)
{
    return c == ' ' || c == '*' || c == 'x';
}

// The walker's heading as a grid direction (column, row): 0 is -z, 1 is +x.
const int kHeading[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

struct Window {
    int width, height;
};

void PrintTo(const Window& w, std::ostream* os) { *os << w.width << "x" << w.height; }

class CullingPictureTest : public testing::TestWithParam<Window> {};

// Every open cell of the shipped maze, each heading, each field of view, at
// rest, half-way through a step and half-way through a turn: drawLevel's
// frame is byte for byte the frame of the renderer that drew every cell.
TEST_P(CullingPictureTest, TheShippedMazeLooksTheSameFromEveryPose)
{
    const Window window = GetParam();
    GlContext gl(window.width, window.height);
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    const std::string textures = makeShippedTextureFolder();
    ASSERT_EQ(chdir(textures.c_str()), 0);
    g_level = maze();
    g_fileName = MAZE_ASSETS_DIR "/maze1.dat";
    testing::internal::CaptureStdout();
    viewInit();
    testing::internal::GetCapturedStdout();
    reshape(window.width, window.height);

    int width, height;
    g_level.getSize(width, height);
    std::vector<point2> drawn, visible;
    drawnCells(g_level, &drawn);
    size_t poses = 0, visibleTotal = 0;
    int mismatches = 0;
    const float spacing = float(g_cubeFactor);

    for (int fov = 0; fov < 3; ++fov) {
        g_FrustPos = fov;
        setProjection(float(window.width) / float(window.height));
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                if (!isOpen(g_level.getElement(column, row)))
                    continue;
                for (int heading = 0; heading < 4; ++heading) {
                    const int dc = kHeading[heading][0], dr = kHeading[heading][1];
                    const bool canStep = isOpen(g_level.getElement(column + dc, row + dr));
                    for (int motion = 0; motion < 3; ++motion) {
                        const Point3 eye(column * spacing, g_yHeight, row * spacing);
                        g_camera.set(eye, Point3(eye.x + 10.0f * dc, eye.y, eye.z + 10.0f * dr), g_up);
                        if (motion == 1 && !canStep)
                            continue;
                        // The walker's own frames: 0.2 a frame along the view, 10 degrees a frame.
                        for (int frame = 0; frame < 5 && motion == 1; ++frame)
                            g_camera.slide(0.0f, 0.0f, -0.2f);
                        for (int frame = 0; frame < 4 && motion == 2; ++frame)
                            g_camera.yaw(10.0f);

                        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                        drawEveryCellWithBlending();
                        const std::vector<uint8_t> before = gl.readPixels();
                        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                        drawLevel();
                        const std::vector<uint8_t> after = gl.readPixels();
                        ASSERT_TRUE(glIsEnabled(GL_BLEND)) << "drawLevel leaves blending as it found it";

                        ++poses;
                        visibleCells(g_level, g_cubeFactor, g_camera, g_viewVolume, &visible);
                        visibleTotal += visible.size();
                        if (before != after && ++mismatches <= 5)
                            ADD_FAILURE() << "cell " << column << " " << row << ", heading " << heading << ", view "
                                          << FrustArray[fov] << ", motion " << motion << ": the frames differ";
                    }
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << "of " << poses << " poses";
    // The sweep is real, and the culling does more than the far plane alone.
    EXPECT_GT(poses, 1000u);
    EXPECT_LT(visibleTotal * 5, poses * drawn.size())
        << "on average " << visibleTotal / poses << " of " << drawn.size() << " cells kept";
    removeFolder(textures);
}

INSTANTIATE_TEST_SUITE_P(Windows, CullingPictureTest,
                         testing::Values(Window{64, 64}, Window{96, 40}, Window{40, 90}),
                         [](const testing::TestParamInfo<Window>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

// Which cells of a 20 by 7 floor, seen from cell (5, 3) along +x, are kept:
// those under and ahead of the eye up to the far plane, those to the side
// only as far as the field of view and the aspect reach.
TEST(VisibleCellsTest, KeepsWhatTheViewVolumeReaches)
{
    GlContext gl;  // the camera loads its matrix into GL
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    std::string text;
    for (int row = 0; row < 7; ++row)
        text += std::string(20, ' ') + "\n";
    TempFile file(text);
    maze level;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(level.loadLevel(file.path));
    testing::internal::GetCapturedStdout();

    Camera camera;
    camera.set(Point3(10, 0.5f, 6), Point3(20, 0.5f, 6), Vector3(0, 1, 0));
    const ViewVolume narrow = {50, 1, 0.2f, 10};
    const ViewVolume wide = {150, 1, 0.2f, 10};
    const ViewVolume narrowWide = {50, 4, 0.2f, 10};
    struct Case {
        ViewVolume view;
        point2 cell;
        bool kept;
        const char* why;
    } cases[] = {
        {narrow, {5, 3}, true, "the cell under the eye"},
        {narrow, {4, 3}, false, "the cell behind"},
        {wide, {4, 3}, false, "the cell behind, whatever the field of view"},
        {narrow, {10, 3}, true, "10 units ahead, its near half within the far plane"},
        {narrow, {11, 3}, false, "12 units ahead, wholly beyond the far plane"},
        {narrow, {6, 6}, false, "3 cells aside and 1 ahead, outside 50 degrees"},
        {wide, {6, 6}, true, "the same cell, inside 150 degrees"},
        {narrowWide, {6, 6}, true, "the same cell, inside a window 4 times wider than high"},
        {narrow, {9, 6}, false, "3 cells aside and 4 ahead, outside 50 degrees"},
        {narrow, {10, 5}, true, "2 cells aside and 5 ahead, inside 50 degrees"},
        {narrow, {6, 0}, false, "3 cells to the other side, outside 50 degrees"},
    };
    std::vector<point2> cells;
    for (const Case& c : cases) {
        visibleCells(level, 2, camera, c.view, &cells);
        bool found = false;
        for (const point2& p : cells)
            found = found || (p.column == c.cell.column && p.row == c.cell.row);
        EXPECT_EQ(found, c.kept) << c.why;
    }

    // Drawing order is kept; a view that is not a perspective keeps every cell.
    visibleCells(level, 2, camera, wide, &cells);
    for (size_t i = 1; i < cells.size(); ++i)
        EXPECT_LT(cells[i - 1].row * 100 + cells[i - 1].column, cells[i].row * 100 + cells[i].column);
    visibleCells(level, 2, camera, ViewVolume{0, 1, 0.2f, 10}, &cells);
    EXPECT_EQ(cells.size(), 140u);
}

}  // namespace
