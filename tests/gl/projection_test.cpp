#include <gtest/gtest.h>

#include <GL/glu.h>
#include <cmath>

#include "app/keyboard.h"
#include "app/main2.h"
#include "gl_context.h"
#include "view/projection.h"

namespace {

void projection(float m[16])
{
    glGetFloatv(GL_PROJECTION_MATRIX, m);
}

class ProjectionTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ok()) << "no headless GL context";
        g_FrustPos = 1;
    }
    GlContext gl;
};

TEST_F(ProjectionTest, ReshapeSetsViewportAspectAndAngle)
{
    reshape(800, 400);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 800);
    EXPECT_EQ(vp[3], 400);
    EXPECT_EQ(g_width, 800.0f);
    EXPECT_EQ(g_height, 400.0f);
    float m[16];
    projection(m);
    const double f = 1.0 / std::tan(50.0 * M_PI / 180.0);  // 100 degrees
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[5] / m[0], 2.0, 1e-5);
    // near 0.2, far 10
    EXPECT_NEAR(m[10], -(10.0 + 0.2) / (10.0 - 0.2), 1e-5);
    EXPECT_NEAR(m[14], -2 * 10.0 * 0.2 / (10.0 - 0.2), 1e-5);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(ProjectionTest, ViewKeyRebuildsWithTheStoredSize)
{
    reshape(600, 300);
    const double angles[] = {50, 150, 100};
    for (double a : angles) {
        keyboardHandler('v', 0, 0);
        float m[16];
        projection(m);
        EXPECT_NEAR(m[5], 1.0 / std::tan(a / 2 * M_PI / 180.0), 1e-4) << a;
        EXPECT_NEAR(m[5] / m[0], 2.0, 1e-5);
    }
}

TEST_F(ProjectionTest, ZeroSizesKeepThePreviousProjection)
{
    reshape(500, 500);
    float before[16], after[16];
    projection(before);
    for (auto [w, h] : {std::pair{500, 0}, std::pair{0, 500}, std::pair{0, 0}}) {
        reshape(w, h);
        projection(after);
        for (int i = 0; i < 16; ++i) {
            EXPECT_TRUE(std::isfinite(after[i]));
            EXPECT_EQ(after[i], before[i]) << w << "x" << h << " element " << i;
        }
    }
    reshape(500, 0);
    keyboardHandler('v', 0, 0);  // the angle moves on, the matrix waits for a real size
    projection(after);
    EXPECT_EQ(after[5], before[5]);
    reshape(400, 400);
    projection(after);
    EXPECT_NEAR(after[5], 1.0 / std::tan(25 * M_PI / 180.0), 1e-4);
}

// The page builds its projection itself; it must be the matrix GLU loads
// for the desktop, for every field of view and window shape.
TEST_F(ProjectionTest, ThePagesPerspectiveIsGlusToTheLastBit)
{
    for (int fov = 0; fov < 3; ++fov) {
        for (double aspect : {1.0, 0.4, 2.5, 390.0 / 844.0}) {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluPerspective(FrustArray[fov], aspect, 0.2, 10.0);
            float glu[16], ours[16];
            projection(glu);
            perspectiveMatrix(FrustArray[fov], aspect, 0.2, 10.0, ours);
            for (int i = 0; i < 16; ++i)
                EXPECT_FLOAT_EQ(ours[i], glu[i]) << "fov " << FrustArray[fov] << ", aspect " << aspect << ", element " << i;
        }
    }
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace
