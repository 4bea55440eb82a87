#include "render/view_matrix.h"

#include <GL/gl.h>

void loadModelViewMatrix(const float m[16])
{
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
}
