// camera.cpp hands every new view to GL's fixed-function matrix stack, which
// WebGL 2 does not have. The web renderer reads Camera::viewMatrix when it
// draws instead, so these two entry points only have to exist: they take the
// calls and drop them.
#include <GL/gl.h>

extern "C" {

void glMatrixMode(GLenum) {}

void glLoadMatrixf(const GLfloat*) {}

}
