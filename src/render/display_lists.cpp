#include "render/display_lists.h"

#include <GL/gl.h>

float g_cubeSize = 1.0f;
unsigned int g_cube = 0;
unsigned int g_floor = 0;

namespace {

struct TexVertex {
    float s, t;
    int x, y, z;  // signs of the coordinates, each scaled by the half-size
};

// Six counter-clockwise faces seen from outside: bottom, +z, top, -z, +x, -x.
// Side faces have t = 0 at the bottom so wall textures stand upright.
const TexVertex kCube[24] = {
    {1, 1, -1, -1, -1}, {0, 1, +1, -1, -1}, {0, 0, +1, -1, +1}, {1, 0, -1, -1, +1},
    {0, 0, -1, -1, +1}, {1, 0, +1, -1, +1}, {1, 1, +1, +1, +1}, {0, 1, -1, +1, +1},
    {0, 1, -1, +1, -1}, {0, 0, -1, +1, +1}, {1, 0, +1, +1, +1}, {1, 1, +1, +1, -1},
    {1, 0, -1, -1, -1}, {1, 1, -1, +1, -1}, {0, 1, +1, +1, -1}, {0, 0, +1, -1, -1},
    {1, 0, +1, -1, -1}, {1, 1, +1, +1, -1}, {0, 1, +1, +1, +1}, {0, 0, +1, -1, +1},
    {0, 0, -1, -1, -1}, {1, 0, -1, -1, +1}, {1, 1, -1, +1, +1}, {0, 1, -1, +1, -1},
};

// Counter-clockwise from above; the texture repeats twice along each edge.
const TexVertex kFloor[4] = {
    {2, 2, -1, -1, -1}, {0, 2, -1, -1, +1}, {0, 0, +1, -1, +1}, {2, 0, +1, -1, -1},
};

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
    compileQuads(g_cube, kCube, 24);
    g_floor = g_cube + 1;
    compileQuads(g_floor, kFloor, 4);
}
