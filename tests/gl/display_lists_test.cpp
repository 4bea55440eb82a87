#include <gtest/gtest.h>

#include <GL/glu.h>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gl_context.h"
#include "render/display_lists.h"

namespace {

struct FbVertex {
    float x, y, z;  // object coordinates, recovered from window coordinates
    float s, t;
};
using Polygon = std::vector<FbVertex>;

// Draws a list in feedback mode and returns its polygons. The matrices are
// set so window coordinates map back to object coordinates exactly:
// glOrtho(-2..2) into a 4x4 viewport gives wx = x + 2, wy = y + 2, wz = 0.5 - z/4.
std::vector<Polygon> feedback(unsigned int list, bool cull)
{
    std::vector<GLfloat> buf(4096);
    glViewport(0, 0, 4, 4);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (cull)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    glFeedbackBuffer(GLsizei(buf.size()), GL_3D_COLOR_TEXTURE, buf.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    GLint n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflow";

    std::vector<Polygon> polys;
    for (GLint i = 0; i < n;) {
        GLint token = GLint(buf[i++]);
        EXPECT_EQ(token, GL_POLYGON_TOKEN);
        if (token != GL_POLYGON_TOKEN)
            break;
        int count = int(buf[i++]);
        Polygon p;
        for (int k = 0; k < count; ++k, i += 11) {  // xyz, rgba, strq
            FbVertex v{buf[i] - 2, buf[i + 1] - 2, (0.5f - buf[i + 2]) * 4, buf[i + 7], buf[i + 8]};
            p.push_back(v);
        }
        polys.push_back(p);
    }
    return polys;
}

float area(const std::vector<Polygon>& polys)
{
    float total = 0;
    for (const Polygon& p : polys)
        for (size_t i = 1; i + 1 < p.size(); ++i) {
            float ax = p[i].x - p[0].x, ay = p[i].y - p[0].y, az = p[i].z - p[0].z;
            float bx = p[i + 1].x - p[0].x, by = p[i + 1].y - p[0].y, bz = p[i + 1].z - p[0].z;
            float cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
            total += 0.5f * std::sqrt(cx * cx + cy * cy + cz * cz);
        }
    return total;
}

class DisplayListTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ok()) << "no headless GL context";
        setupLists();
    }
    GlContext gl;
};

TEST_F(DisplayListTest, NamesAreConsecutive)
{
    EXPECT_NE(g_cube, 0u);
    EXPECT_EQ(g_floor, g_cube + 1);
    EXPECT_TRUE(glIsList(g_cube));
    EXPECT_TRUE(glIsList(g_floor));
}

// One flat face of a list: its outward normal axis and sign, its corners
// with their texture coordinates, and its area.
struct Face {
    std::set<std::vector<float>> corners;  // x, y, z, s, t
    float area = 0;
};

// Groups the feedback triangles by the direction their winding gives
// (counter-clockwise seen from the front), keyed as axis * 2 + (sign > 0).
std::map<int, Face> facesOf(const std::vector<Polygon>& polys)
{
    std::map<int, Face> faces;
    for (const Polygon& p : polys) {
        EXPECT_GE(p.size(), 3u);
        float a[3] = {p[1].x - p[0].x, p[1].y - p[0].y, p[1].z - p[0].z};
        float b[3] = {p[2].x - p[0].x, p[2].y - p[0].y, p[2].z - p[0].z};
        float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        int axis = 0;
        for (int k = 1; k < 3; ++k)
            if (std::fabs(n[k]) > std::fabs(n[axis]))
                axis = k;
        Face& f = faces[axis * 2 + (n[axis] > 0)];
        f.area += area({p});
        for (const FbVertex& v : p)
            f.corners.insert({std::round(v.x), std::round(v.y), std::round(v.z), v.s, v.t});
    }
    return faces;
}

// Position of the corner with texture coordinate (s, t) on a face.
std::vector<float> at(const Face& f, float s, float t)
{
    for (const auto& c : f.corners)
        if (c[3] == s && c[4] == t)
            return {c[0], c[1], c[2]};
    ADD_FAILURE() << "no corner with texture coordinate " << s << "," << t;
    return {0, 0, 0};
}

TEST_F(DisplayListTest, CubeIsSixOutwardFacesWithUprightTextures)
{
    auto faces = facesOf(feedback(g_cube, false));
    ASSERT_EQ(faces.size(), 6u) << "one face per side, each wound counter-clockwise from outside";
    for (const auto& [key, f] : faces) {
        int axis = key / 2;
        float side = key % 2 ? 1.0f : -1.0f;
        SCOPED_TRACE("face axis " + std::to_string(axis) + " side " + std::to_string(int(side)));
        EXPECT_NEAR(f.area, 4.0f, 1e-4f);
        ASSERT_EQ(f.corners.size(), 4u);
        for (const auto& c : f.corners) {
            EXPECT_EQ(c[axis], side) << "winding disagrees with the face's position";
            for (int k = 0; k < 3; ++k)
                EXPECT_TRUE(c[k] == 1.0f || c[k] == -1.0f);
            for (int k = 3; k < 5; ++k)
                EXPECT_TRUE(c[k] == 0.0f || c[k] == 1.0f);
        }
        // Texture axes: s and t directions; s x t must point outwards (unmirrored).
        auto o = at(f, 0, 0), ps = at(f, 1, 0), pt = at(f, 0, 1);
        float sv[3] = {ps[0] - o[0], ps[1] - o[1], ps[2] - o[2]};
        float tv[3] = {pt[0] - o[0], pt[1] - o[1], pt[2] - o[2]};
        float n[3] = {sv[1] * tv[2] - sv[2] * tv[1], sv[2] * tv[0] - sv[0] * tv[2], sv[0] * tv[1] - sv[1] * tv[0]};
        EXPECT_GT(n[axis] * side, 0) << "texture mirrored";
        if (axis != 1) {
            EXPECT_EQ(tv[1], 2.0f) << "side texture not upright";
        }
    }
}

TEST_F(DisplayListTest, FloorIsOneUpwardSquareWithTheTextureTwiceEachWay)
{
    auto faces = facesOf(feedback(g_floor, false));
    ASSERT_EQ(faces.size(), 1u);
    ASSERT_EQ(faces.count(1 * 2 + 1), 1u) << "floor must face up";
    const Face& f = faces[3];
    EXPECT_NEAR(f.area, 4.0f, 1e-4f);
    std::set<std::vector<float>> want = {
        {-1, -1, -1, 2, 2}, {-1, -1, 1, 0, 2}, {1, -1, 1, 0, 0}, {1, -1, -1, 2, 0}};
    EXPECT_EQ(f.corners, want);
}

// Looks at a list from a point with culling on; the feedback words written (0: nothing drawn).
GLint feedbackWords(unsigned int list, float ex, float ey, float ez)
{
    glViewport(0, 0, 4, 4);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90, 1, 0.01, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(ex, ey, ez, 0, 0, 0, 0, 1, 0);
    glEnable(GL_CULL_FACE);
    std::vector<GLfloat> buf(4096);
    glFeedbackBuffer(GLsizei(buf.size()), GL_3D, buf.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    return glRenderMode(GL_RENDER);
}

TEST_F(DisplayListTest, OnlyOutsideFacesTowardsTheViewerAreDrawn)
{
    auto drawsSomething = [](unsigned int list, float x, float y, float z) {
        return feedbackWords(list, x, y, z) > 0;
    };
    // Each face, seen from straight in front of it, is drawn; from behind (inside), none is.
    EXPECT_TRUE(drawsSomething(g_cube, 5, 0.3f, 0.2f));
    EXPECT_TRUE(drawsSomething(g_cube, 0.2f, 0.3f, -5));
    EXPECT_TRUE(drawsSomething(g_cube, 0.2f, 5, 0.3f));
    EXPECT_FALSE(drawsSomething(g_cube, 0.2f, 0.1f, 0.3f)) << "a cube seen from inside draws nothing";
    EXPECT_TRUE(drawsSomething(g_floor, 0.1f, 3, 0.2f)) << "floor seen from above";
    EXPECT_FALSE(drawsSomething(g_floor, 0.1f, -3, 0.2f)) << "floor seen from below";
}

TEST_F(DisplayListTest, FacesWindCounterClockwiseFromOutside)
{
    // With culling on, a cube viewed along an axis shows exactly the one face
    // pointing at the viewer; its corners all lie on that side.
    struct Case { float x, y, z; int axis; float side; } cases[] = {
        {6, 0, 0, 0, 1}, {-6, 0, 0, 0, -1}, {0, 0, 6, 2, 1}, {0, 0, -6, 2, -1},
        {0, -6, 0.001f, 1, -1}, {0, 6, 0.001f, 1, 1},
    };
    for (const Case& c : cases) {
        glViewport(0, 0, 4, 4);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, 1, 20);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(c.x, c.y, c.z, 0, 0, 0, 0, 1, 0);
        glEnable(GL_CULL_FACE);
        std::vector<GLfloat> buf(4096);
        glFeedbackBuffer(GLsizei(buf.size()), GL_3D, buf.data());
        glRenderMode(GL_FEEDBACK);
        glCallList(g_cube);
        GLint n = glRenderMode(GL_RENDER);
        // Only the 2 x 2 face towards the viewer survives culling: 4 window units.
        float projected = 0;
        for (GLint i = 0; i < n;) {
            ++i;  // token
            int count = int(buf[i++]);
            std::vector<float> xs, ys;
            for (int k = 0; k < count; ++k, i += 3) {
                xs.push_back(buf[i]);
                ys.push_back(buf[i + 1]);
            }
            for (int k = 1; k + 1 < count; ++k)
                projected += 0.5f * std::fabs((xs[k] - xs[0]) * (ys[k + 1] - ys[0]) -
                                              (xs[k + 1] - xs[0]) * (ys[k] - ys[0]));
        }
        EXPECT_NEAR(projected, 4.0f, 1e-3f) << "view from " << c.x << "," << c.y << "," << c.z;
    }
}

}  // namespace
