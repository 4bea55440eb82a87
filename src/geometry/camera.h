#pragma once

#include "geometry/vector3.h"

// Where a camera's view matrix goes after every change: the desktop loads it
// into GL's model-view matrix, the page keeps it for its renderer. Gets the
// 16 floats column-major.
using ViewMatrixLoader = void (*)(const float m[16]);

// Installs the loader every camera hands its matrix to; null (the start)
// hands it nowhere. One front end owns the process, so there is one loader.
void setViewMatrixLoader(ViewMatrixLoader loader);

// The viewer. Every change hands the new view matrix to the installed
// loader, so the next draw is seen from the new viewpoint.
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

    // The 16 floats loadViewMatrix hands to the loader, column-major.
    void viewMatrix(float m[16]) const;
};
