#include "geometry/vector3.h"

#include <cmath>
#include <cstdio>

Vector3 Vector3::cross(const Vector3& b) const
{
    return Vector3(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
}

float Vector3::dot(const Vector3& b) const
{
    return (x * b.x + y * b.y) + z * b.z;
}

void Vector3::normalize()
{
    double s = double(x) * x + double(y) * y + double(z) * z;
    if (!(s >= 1e-7)) {  // also catches NaN
        std::fflush(stdout);
        std::fputs("\nnormalize() sees vector (0, 0, 0)!", stderr);
        return;
    }
    float k = float(1.0 / std::sqrt(s));
    x *= k;
    y *= k;
    z *= k;
}
