#include <gtest/gtest.h>

#include <GL/gl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/main2.h"
#include "gl_context.h"
#include "maze/maze_generator.h"
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
    int index;  // which of the windows below
};

void PrintTo(const Window& w, std::ostream* os) { *os << w.width << "x" << w.height; }

const Window kWindows[] = {{64, 64, 0}, {96, 40, 1}, {40, 90, 2}};

// A maze to sweep: its text, and which poses each window draws (every
// `stride`-th, starting at the window's index, so that the windows share the
// poses out between them).
struct SweptMaze {
    const char* name;
    std::string text;
    int stride;
};

struct Sweep {
    size_t poses = 0;
    size_t drawn = 0;     // cells drawnCells gives
    size_t inVolume = 0;  // cellsInViewVolume's cells, summed over the poses
    size_t visible = 0;   // visibleCells' cells, summed over the poses
    int mismatches = 0;
};

// Plays `m` through the program's own start-up (the shipped textures from
// the working directory) in `window`, then, at every open cell, each heading,
// each field of view, at rest, half-way through a step (the eye on the edge
// between two cells) and half-way through a turn, draws the frame with every
// cell and again through drawLevel's culling and compares them byte for byte.
Sweep sweepPoses(GlContext& gl, const Window& window, const SweptMaze& m)
{
    TempFile file(m.text);
    g_level = maze();
    g_fileName = file.path;
    testing::internal::CaptureStdout();
    viewInit();
    testing::internal::GetCapturedStdout();
    reshape(window.width, window.height);

    Sweep sweep;
    int width, height;
    g_level.getSize(width, height);
    std::vector<point2> cells;
    drawnCells(g_level, &cells);
    sweep.drawn = cells.size();
    const float spacing = float(g_cubeFactor);
    size_t candidate = 0;
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
                        if (motion == 1 && !canStep)
                            continue;
                        if (candidate++ % size_t(m.stride) != size_t(window.index % m.stride))
                            continue;
                        const Point3 eye(column * spacing, g_yHeight, row * spacing);
                        g_camera.set(eye, Point3(eye.x + 10.0f * dc, eye.y, eye.z + 10.0f * dr), g_up);
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
                        if (!glIsEnabled(GL_BLEND)) {
                            ADD_FAILURE() << "drawLevel leaves blending as it found it";
                            return sweep;
                        }

                        ++sweep.poses;
                        cellsInViewVolume(g_level, g_cubeFactor, g_camera, g_viewVolume, &cells);
                        sweep.inVolume += cells.size();
                        visibleCells(g_level, g_cubeFactor, g_camera, g_viewVolume, &cells);
                        sweep.visible += cells.size();
                        if (before != after && ++sweep.mismatches <= 5)
                            ADD_FAILURE() << m.name << ": cell " << column << " " << row << ", heading " << heading
                                          << ", view " << FrustArray[fov] << ", motion " << motion
                                          << ": the frames differ";
                    }
                }
            }
        }
    }
    return sweep;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Mazes made to catch an occlusion test that hides too much: walls that
// touch only at their corners (diagonal lines and a checkerboard), single
// pillars among bytes that block but draw nothing, long straight corridors
// with doorways between them, and a room with doorways inside a ring.
const SweptMaze kAdversarialMazes[] = {
    {"corners",
     "rrrrrrrrrrrrrrrrr\n"
     "r*              r\n"
     "r  g         b  r\n"
     "r   g       b   r\n"
     "r    g     b    r\n"
     "r     g   b     r\n"
     "r      g b      r\n"
     "r       c       r\n"
     "r      b g      r\n"
     "r     b   g     r\n"
     "r               r\n"
     "r  m m m m m m  r\n"
     "r   m m m m m   r\n"
     "r  m m m m m m  r\n"
     "r              xr\n"
     "rrrrrrrrrrrrrrrrr\n",
     3},
    {"pillars",
     "gggggggggggggggggg\n"
     "g*               g\n"
     "g                g\n"
     "g  b    b    b   g\n"
     "g                g\n"
     "g      .    #    g\n"
     "g   c            g\n"
     "g        y   y   g\n"
     "g                g\n"
     "g  #  b      .  xg\n"
     "gggggggggggggggggg\n",
     3},
    {"corridors",
     "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy\n"
     "y*                             y\n"
     "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyy y\n"
     "y                              y\n"
     "y y y y y y y yyyyyyyyyyyyyyyyyy\n"
     "y                             xy\n"
     "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy\n",
     3},
    {"room",
     "mmmmmmmmmmmmmmmmmm\n"
     "m                m\n"
     "m ccccccc cccccc m\n"
     "m c*           c m\n"
     "m c            c m\n"
     "m c            c m\n"
     "m c              m\n"
     "m c            c m\n"
     "m c           xc m\n"
     "m cccccccccccccc m\n"
     "m                m\n"
     "mmmmmmmmmmmmmmmmmm\n",
     3},
};

class CullingPictureTest : public testing::TestWithParam<Window> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ok()) << "no headless GL context";
        textures = makeShippedTextureFolder();
        ASSERT_EQ(chdir(textures.c_str()), 0);
    }
    void TearDown() override { removeFolder(textures); }

    GlContext gl{GetParam().width, GetParam().height};
    std::string textures;
};

// Every pose of the shipped maze in every window: drawLevel's frame is byte
// for byte the frame of the renderer that drew every cell.
TEST_P(CullingPictureTest, TheShippedMazeLooksTheSameFromEveryPose)
{
    const Sweep s = sweepPoses(gl, GetParam(), {"maze1.dat", readFile(MAZE_ASSETS_DIR "/maze1.dat"), 1});
    EXPECT_EQ(s.mismatches, 0) << "of " << s.poses << " poses";
    // The sweep is real, and the culling does more than the far plane alone.
    EXPECT_GT(s.poses, 1000u);
    EXPECT_LT(s.visible * 5, s.poses * s.drawn) << "on average " << s.visible / s.poses << " of " << s.drawn << " cells kept";
}

// The largest maze the program reads, as `mazetool generate --width 32
// --height 32 --seed 3` writes it: each window takes every sixth pose, so the
// three cover half of them. The frames stay the same, and walls hide most of
// what the view volume holds.
TEST_P(CullingPictureTest, AFull32By32MazeLooksTheSameWithHiddenCellsLeftOut)
{
    const Sweep s = sweepPoses(gl, GetParam(), {"32x32", generateMaze(MazeRequest{32, 32, 3, 1}), 6});
    EXPECT_EQ(s.mismatches, 0) << "of " << s.poses << " poses";
    EXPECT_GT(s.poses, 1000u);
    EXPECT_LT(s.visible * 5, s.poses * s.drawn) << "on average " << s.visible / s.poses << " of " << s.drawn << " cells kept";
    EXPECT_LT(s.visible * 3, s.inVolume) << s.visible << " cells kept of " << s.inVolume << " in the view volume";
}

TEST_P(CullingPictureTest, AdversarialMazesLookTheSame)
{
    for (const SweptMaze& m : kAdversarialMazes) {
        const Sweep s = sweepPoses(gl, GetParam(), m);
        EXPECT_EQ(s.mismatches, 0) << m.name << ": of " << s.poses << " poses";
        EXPECT_GT(s.poses, 100u) << m.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, CullingPictureTest, testing::ValuesIn(kWindows),
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

// Which cells walls hide on a 10 by 7 floor, seen from cell (2, 3) along +x
// through 50 degrees: only what a wall covers from every direction, and not
// through a gap where two walls touch at a corner.
TEST(VisibleCellsTest, HidesOnlyWhatWallsCover)
{
    GlContext gl;  // the camera loads its matrix into GL
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    struct Wall {
        int column, row;
        char byte;
    };
    struct Case {
        std::vector<Wall> walls;
        point2 cell;
        bool kept;
        const char* why;
    } cases[] = {
        {{{4, 3, 'r'}}, {6, 3}, false, "a floor cell straight behind a wall"},
        {{{4, 3, 'r'}}, {5, 3}, false, "the wall's own neighbour behind it"},
        {{{4, 3, 'r'}}, {3, 3}, true, "the cell in front of the wall"},
        {{{4, 3, 'r'}}, {6, 5}, true, "a cell beside the wall's shadow"},
        {{{4, 3, '.'}}, {6, 3}, true, "behind a byte that blocks but draws nothing"},
        {{{4, 2, 'g'}, {5, 3, 'b'}}, {7, 2}, true, "behind two walls that touch only at a corner, seen through it"},
        {{{4, 2, 'g'}, {5, 3, 'b'}, {5, 2, 'c'}}, {7, 2}, false, "the same with the gap filled"},
    };
    Camera camera;
    camera.set(Point3(4, 0.5f, 6), Point3(14, 0.5f, 6), Vector3(0, 1, 0));
    std::vector<point2> cells;
    for (const Case& c : cases) {
        std::vector<std::string> rows(7, std::string(10, ' '));
        for (const Wall& w : c.walls)
            rows[w.row][w.column] = w.byte;
        std::string text;
        for (const std::string& row : rows)
            text += row + "\n";
        maze level;
        level.read(text.data(), text.size());
        visibleCells(level, 2, camera, ViewVolume{50, 1, 0.2f, 10}, &cells);
        bool found = false;
        for (size_t i = 0; i < cells.size(); ++i) {
            found = found || (cells[i].column == c.cell.column && cells[i].row == c.cell.row);
            if (i > 0) {
                EXPECT_LT(cells[i - 1].row * 100 + cells[i - 1].column, cells[i].row * 100 + cells[i].column)
                    << "drawing order";
            }
        }
        EXPECT_EQ(found, c.kept) << c.why;
    }
}

}  // namespace
