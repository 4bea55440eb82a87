#pragma once

#include "geometry/vector3.h"

// The viewer. Every change reloads GL's model-view matrix, so the next
// draw is seen from the new viewpoint.
class Camera {
public:
    Point3 eye;
    Vector3 u, v, n;  // right, up, backward (the view looks along -n)

    void set(Point3 eyePoint, Point3 look, Vector3 up);
    void slide(float du, float dv, float dn);
    void roll(float angle);
    void pitch(float angle);
    void yaw(float angle);
    void loadViewMatrix();

    // The 16 floats loadViewMatrix hands to GL, column-major.
    void viewMatrix(float m[16]) const;
};
