#pragma once

// Plain three-float values: a location and a direction.
class Point3 {
public:
    float x, y, z;

    Point3() : x(0.0f), y(0.0f), z(0.0f) {}
    Point3(float px, float py, float pz) : x(px), y(py), z(pz) {}

    void set(float px, float py, float pz) { x = px; y = py; z = pz; }
    void set(const Point3& p) { x = p.x; y = p.y; z = p.z; }
};

class Vector3 {
public:
    float x, y, z;

    Vector3() : x(0.0f), y(0.0f), z(0.0f) {}
    Vector3(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}

    void set(float vx, float vy, float vz) { x = vx; y = vy; z = vz; }
    void set(const Vector3& w) { x = w.x; y = w.y; z = w.z; }

    // this x b; neither operand changes.
    Vector3 cross(const Vector3& b) const;
    float dot(const Vector3& b) const;
    // Scales to unit length; a (near) zero vector is left alone with a warning on stderr.
    void normalize();
};
