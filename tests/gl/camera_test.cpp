#include <gtest/gtest.h>

#include <cmath>

#include "geometry/camera.h"
#include "gl_context.h"

namespace {

class CameraTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.ok()) << "no headless GL context"; }

    void expectMatrix(const float (&want)[16], float tol = 1e-6f)
    {
        float m[16];
        readModelView(m);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(m[i], want[i], tol) << "element " << i;
    }

    GlContext gl;
    Camera cam;
};

void expectVec(const Vector3& v, float x, float y, float z, float tol = 1e-6f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

const float kFirstCamera[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, -2, -0.5f, 0, 1};

TEST_F(CameraTest, SetLoadsTheViewMatrixWhateverTheUpLength)
{
    Vector3 ups[] = {{0, 1, 0}, {0, 5, 0}, {3, 1, 0}};
    for (const Vector3& up : ups) {
        glMatrixMode(GL_PROJECTION);  // set must select the model-view stack itself
        cam.set(Point3(0, 0.5f, 2), Point3(10, 0.5f, 2), up);
        expectVec(cam.n, -1, 0, 0);
        expectVec(cam.u, 0, 0, 1);
        expectVec(cam.v, 0, 1, 0);
        expectMatrix(kFirstCamera);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

TEST_F(CameraTest, StartCellPlacement)
{
    cam.set(Point3(4, 0.5f, 6), Point3(10, 0.5f, 6), Vector3(0, 1, 0));
    float m[16];
    readModelView(m);
    EXPECT_FLOAT_EQ(m[12], -6);
    EXPECT_FLOAT_EQ(m[13], -0.5f);
    EXPECT_FLOAT_EQ(m[14], 4);
}

TEST_F(CameraTest, SlideMovesAlongTheCameraAxes)
{
    cam.set(Point3(0, 0.5f, 2), Point3(10, 0.5f, 2), Vector3(0, 1, 0));
    cam.slide(0, 0, -0.2f);
    EXPECT_FLOAT_EQ(cam.eye.x, 0.2f);
    EXPECT_FLOAT_EQ(cam.eye.y, 0.5f);
    EXPECT_FLOAT_EQ(cam.eye.z, 2);
    float m[16];
    readModelView(m);
    EXPECT_FLOAT_EQ(m[14], 0.2f);

    cam.set(Point3(0, 0.5f, 2), Point3(10, 0.5f, 2), Vector3(0, 1, 0));
    cam.slide(1, 0, 0);
    EXPECT_FLOAT_EQ(cam.eye.x, 0);
    EXPECT_FLOAT_EQ(cam.eye.z, 3);
    expectVec(cam.u, 0, 0, 1);  // axes unchanged
}

TEST_F(CameraTest, QuarterRotations)
{
    const Point3 eye(0, 0.5f, 2), look(10, 0.5f, 2);
    const Vector3 up(0, 1, 0);

    cam.set(eye, look, up);
    cam.yaw(90);
    expectVec(cam.n, 0, 0, -1, 2e-9f);  // viewing direction -n = +z
    expectVec(cam.u, -1, 0, 0, 2e-9f);
    expectVec(cam.v, 0, 1, 0, 0);

    cam.set(eye, look, up);
    cam.pitch(90);
    expectVec(cam.n, 0, -1, 0, 2e-9f);  // looks up
    expectVec(cam.v, -1, 0, 0, 2e-9f);
    expectVec(cam.u, 0, 0, 1, 0);

    cam.set(eye, look, up);
    cam.roll(90);
    expectVec(cam.u, 0, -1, 0, 2e-9f);
    expectVec(cam.v, 0, 0, 1, 2e-9f);
    expectVec(cam.n, -1, 0, 0, 0);

    float m[16];
    readModelView(m);
    EXPECT_NEAR(m[0], cam.u.x, 0);
    EXPECT_NEAR(m[1], cam.v.x, 0);
    EXPECT_NEAR(m[9], cam.v.z, 0);
}

TEST_F(CameraTest, NineTenDegreeYawsMakeAQuarterTurnAndBack)
{
    cam.set(Point3(0, 0.5f, 2), Point3(10, 0.5f, 2), Vector3(0, 1, 0));
    for (int i = 0; i < 9; ++i)
        cam.yaw(10);
    expectVec(cam.n, 0, 0, -1);
    for (int i = 0; i < 9; ++i)
        cam.yaw(-10);
    expectVec(cam.n, -1, 0, 0);
    for (const Vector3* a : {&cam.u, &cam.v, &cam.n}) {
        float len = std::sqrt(a->dot(*a));
        EXPECT_LE(len, 1.0f + 1e-6f);
        EXPECT_GT(len, 1.0f - 1e-6f);
    }
}

TEST_F(CameraTest, EyeOnTheLookPointGivesACollapsedMatrix)
{
    testing::internal::CaptureStderr();
    cam.set(Point3(1, 2, 3), Point3(1, 2, 3), Vector3(0, 1, 0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "\nnormalize() sees vector (0, 0, 0)!\nnormalize() sees vector (0, 0, 0)!");
    float m[16];
    readModelView(m);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(m[i], 0.0f) << "element " << i;
    EXPECT_EQ(m[15], 1.0f);

    cam.slide(0, 0, -0.2f);  // zero axes: nothing moves
    EXPECT_EQ(cam.eye.x, 1.0f);
    EXPECT_EQ(cam.eye.z, 3.0f);
}

TEST_F(CameraTest, UpAlongTheViewWarnsOnce)
{
    testing::internal::CaptureStderr();
    cam.set(Point3(0, 0.5f, 2), Point3(10, 0.5f, 2), Vector3(1, 0, 0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nnormalize() sees vector (0, 0, 0)!");
    expectVec(cam.u, 0, 0, 0, 0);
    expectVec(cam.v, 0, 0, 0, 0);
    expectVec(cam.n, -1, 0, 0, 0);
    float m[16];
    readModelView(m);
    for (int i : {0, 4, 8, 12, 1, 5, 9, 13})
        EXPECT_EQ(m[i], 0.0f) << "element " << i;
}

}  // namespace
