#include "geometry/camera.h"

#include <cmath>

namespace {

ViewMatrixLoader g_viewMatrixLoader = nullptr;

// The degree-to-radian factor the walker's quarter turns were tuned with.
const double kDegToRad = 3.14159265 / 180.0;

// first := c*first - s*second; second := s*first + c*second (old values on the right).
void rotatePair(Vector3& first, Vector3& second, float angle)
{
    double r = angle * kDegToRad;
    float c = float(std::cos(r));
    float s = float(std::sin(r));
    Vector3 t = first;
    first.set(c * t.x - s * second.x, c * t.y - s * second.y, c * t.z - s * second.z);
    second.set(s * t.x + c * second.x, s * t.y + c * second.y, s * t.z + c * second.z);
}

}  // namespace

void setViewMatrixLoader(ViewMatrixLoader loader)
{
    g_viewMatrixLoader = loader;
}

void Camera::set(Point3 eyePoint, Point3 look, Vector3 up)
{
    eye.set(eyePoint);
    n.set(eye.x - look.x, eye.y - look.y, eye.z - look.z);
    u.set(up.cross(n));
    n.normalize();
    u.normalize();
    v.set(n.cross(u));
    loadViewMatrix();
}

void Camera::slide(float du, float dv, float dn)
{
    eye.x = (du * u.x + dv * v.x + dn * n.x) + eye.x;
    eye.y = (du * u.y + dv * v.y + dn * n.y) + eye.y;
    eye.z = (du * u.z + dv * v.z + dn * n.z) + eye.z;
    loadViewMatrix();
}

void Camera::roll(float angle)
{
    rotatePair(u, v, angle);
    loadViewMatrix();
}

void Camera::pitch(float angle)
{
    rotatePair(n, v, angle);
    loadViewMatrix();
}

void Camera::yaw(float angle)
{
    rotatePair(n, u, angle);
    loadViewMatrix();
}

void Camera::viewMatrix(float m[16]) const
{
    Vector3 e(eye.x, eye.y, eye.z);
    m[0] = u.x; m[4] = u.y; m[8] = u.z;  m[12] = -e.dot(u);
    m[1] = v.x; m[5] = v.y; m[9] = v.z;  m[13] = -e.dot(v);
    m[2] = n.x; m[6] = n.y; m[10] = n.z; m[14] = -e.dot(n);
    m[3] = 0;   m[7] = 0;   m[11] = 0;   m[15] = 1;
}

void Camera::loadViewMatrix()
{
    if (!g_viewMatrixLoader)
        return;
    float m[16];
    viewMatrix(m);
    g_viewMatrixLoader(m);
}
