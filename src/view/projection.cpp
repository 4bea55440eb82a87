#include "view/projection.h"

#include <cmath>

void perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar, float m[16])
{
    const double radians = fovyDegrees / 2 * M_PI / 180;
    const double cotangent = std::cos(radians) / std::sin(radians);
    const double depth = zFar - zNear;
    for (int i = 0; i < 16; ++i)
        m[i] = 0.0f;
    m[0] = float(cotangent / aspect);
    m[5] = float(cotangent);
    m[10] = float(-(zFar + zNear) / depth);
    m[11] = -1.0f;
    m[14] = float(-2 * zNear * zFar / depth);
}
