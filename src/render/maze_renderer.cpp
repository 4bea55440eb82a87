#include "render/maze_renderer.h"

#include <GL/gl.h>

#include "app/main2.h"
#include "render/display_lists.h"
#include "render/texture_set.h"

bool cellLook(char cell, CellLook& look)
{
    switch (cell) {
    case ' ':
    case '*':
    case 'x': look = {g_floor, 0, 0.5f, 0.5f, 0.5f}; return true;
    case 'r': look = {g_cube, 1, 1, 0, 0}; return true;
    case 'g': look = {g_cube, 2, 0, 1, 0}; return true;
    case 'b': look = {g_cube, 3, 0, 0, 1}; return true;
    case 'c': look = {g_cube, 4, 0, 1, 1}; return true;
    case 'm': look = {g_cube, 5, 1, 0, 1}; return true;
    case 'y': look = {g_cube, 6, 1, 1, 0}; return true;
    default: return false;  // an invisible wall, or a cell the file never reached
    }
}

void drawLevel()
{
    int width, height;
    g_level.getSize(width, height);
    glMatrixMode(GL_MODELVIEW);
    // Texturing is switched on at the first drawn cell and off after the
    // last, not around every cell: each draw still sees exactly the same
    // state, but Mesa revalidates its whole texture state on every
    // enable/disable pair, which cost about a tenth of the main thread's
    // instructions per frame.
    bool texturing = false;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            CellLook look;
            if (!cellLook(g_level.getElement(column, row), look))
                continue;
            glPushMatrix();
            if (!texturing) {
                glEnable(GL_TEXTURE_2D);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
                texturing = true;
            }
            glTranslatef(float(column * g_cubeFactor), 0.0f, float(row * g_cubeFactor));
            glColor3f(look.r, look.g, look.b);
            glBindTexture(GL_TEXTURE_2D, g_textures[look.textureSlot]);
            glCallList(look.list);
            glPopMatrix();
        }
    }
    if (texturing)
        glDisable(GL_TEXTURE_2D);
}
