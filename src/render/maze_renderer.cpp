#include "render/maze_renderer.h"

#include <GL/gl.h>
#include <vector>

#include "render/display_lists.h"
#include "render/texture_set.h"

void drawMaze(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume* view, int markedExits)
{
    // Kept across frames so that a frame allocates nothing.
    static std::vector<point2> cells;
    if (view)
        visibleCells(level, cellSpacing, camera, *view, &cells);
    else
        drawnCells(level, &cells);
    if (cells.empty())
        return;

    glMatrixMode(GL_MODELVIEW);
    // Every cell is opaque (its texture is RGB and its colour's alpha is 1),
    // so blending would give each pixel exactly its source colour; off, the
    // rasteriser need not read back the frame buffer, which is most of the
    // cost of a frame in a software GL.
    const bool blending = glIsEnabled(GL_BLEND);
    if (blending)
        glDisable(GL_BLEND);
    // Texturing is switched on once for all cells, not around every cell:
    // each draw still sees the same state, but Mesa revalidates its whole
    // texture state on every enable/disable pair.
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    int boundSlot = -1;
    for (const point2& cell : cells) {
        CellLook look;
        cellLookAt(level, cell, markedExits, look);
        glPushMatrix();
        glTranslatef(float(cell.column * cellSpacing), 0.0f, float(cell.row * cellSpacing));
        glColor3f(look.r, look.g, look.b);
        if (look.textureSlot != boundSlot) {
            glBindTexture(GL_TEXTURE_2D,
                          look.textureSlot == kExitFloorSlot ? g_exitFloorTexture : g_textures[look.textureSlot]);
            boundSlot = look.textureSlot;
        }
        glCallList(look.wall ? g_cube : g_floor);
        glPopMatrix();
    }
    glDisable(GL_TEXTURE_2D);
    if (blending)
        glEnable(GL_BLEND);
}
