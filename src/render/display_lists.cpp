#include "render/display_lists.h"

#include <GL/gl.h>

#include "view/cell_geometry.h"

float g_cubeSize = 1.0f;
unsigned int g_cube = 0;
unsigned int g_floor = 0;

namespace {

void compileQuads(unsigned int list, const TexVertex* vertices, int count)
{
    const float h = g_cubeSize;
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    for (int i = 0; i < count; ++i) {
        const TexVertex& p = vertices[i];
        glTexCoord2f(p.s, p.t);
        glVertex3f(p.x * h, p.y * h, p.z * h);
    }
    glEnd();
    glEndList();
}

}  // namespace

void setupLists()
{
    g_cube = glGenLists(2);
    compileQuads(g_cube, kCubeVertices, kCubeVertexCount);
    g_floor = g_cube + 1;
    compileQuads(g_floor, kFloorVertices, kFloorVertexCount);
}
