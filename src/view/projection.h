#pragma once

// The perspective projection the desktop builds with gluPerspective: a
// vertical field of view in degrees, width / height, and the clip distances.
// Column-major, computed in double as GLU does.
void perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar, float m[16]);
