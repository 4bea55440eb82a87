#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "geometry/vector3.h"

namespace {

void expectVec(const Vector3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(Vector3, DefaultsAreZero)
{
    Point3 p;
    Vector3 v;
    EXPECT_EQ(p.x, 0.0f); EXPECT_EQ(p.y, 0.0f); EXPECT_EQ(p.z, 0.0f);
    expectVec(v, 0, 0, 0);
}

TEST(Vector3, CrossIsRightHandedAndLeavesOperands)
{
    struct Case { Vector3 a, b, want; } cases[] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {{2, 4, 6}, {1, 2, 3}, {0, 0, 0}},  // parallel
        {{1, 2, 3}, {4, 5, 6}, {-3, 6, -3}},
    };
    for (const Case& c : cases) {
        Vector3 a = c.a, b = c.b;
        expectVec(a.cross(b), c.want.x, c.want.y, c.want.z);
        expectVec(a, c.a.x, c.a.y, c.a.z);
        expectVec(b, c.b.x, c.b.y, c.b.z);
    }
}

TEST(Vector3, Dot)
{
    EXPECT_EQ(Vector3(1, 2, 3).dot(Vector3(4, 5, 6)), 32.0f);
    EXPECT_EQ(Vector3(1, 0, 0).dot(Vector3(0, 1, 0)), 0.0f);
}

TEST(Vector3, NormalizeScalesToUnitLength)
{
    struct Case { Vector3 in, want; } cases[] = {
        {{3, 4, 0}, {0.6f, 0.8f, 0}},
        {{-10, 0, 0}, {-1, 0, 0}},
        {{4e-4f, 0, 0}, {1, 0, 0}},  // squared length 1.6e-7, above the cut-off
        {{0, 0, 7}, {0, 0, 1}},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        Vector3 v = c.in;
        v.normalize();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        expectVec(v, c.want.x, c.want.y, c.want.z);
    }
    Vector3 v(-10, 0, 0);
    v.normalize();
    EXPECT_EQ(v.x, -1.0f);  // exactly
}

TEST(Vector3, NormalizeWarnsOnTinyOrNanVectorAndLeavesIt)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Vector3 cases[] = {{0, 0, 0}, {3e-4f, 0, 0}, {nan, 1, 0}, {1e-20f, -1e-20f, 0}};
    for (Vector3 in : cases) {
        testing::internal::CaptureStderr();
        Vector3 v = in;
        v.normalize();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nnormalize() sees vector (0, 0, 0)!");
        EXPECT_EQ(std::memcmp(&v, &in, sizeof v), 0) << "vector changed";
    }
}

TEST(Vector3, TwoWarningsStartOnTheirOwnLines)
{
    testing::internal::CaptureStderr();
    Vector3 a, b;
    a.normalize();
    b.normalize();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "\nnormalize() sees vector (0, 0, 0)!\nnormalize() sees vector (0, 0, 0)!");
}

}  // namespace
