#pragma once

#include "geometry/camera.h"
#include "maze/maze.h"
#include "view/cell_culling.h"
#include "view/exit_look.h"

// Draws the cells of `level` that `camera` can see through `view` (see
// visibleCells), through the current model-view matrix, which must be the
// camera's: open cells as floor squares (g_floor), the six wall letters as
// cubes (g_cube), each translated to (column, 0, row) * cellSpacing and
// dressed in its texture from g_textures. The floors of the first
// `markedExits` exits (cellLookAt; 0 for none) wear g_exitFloorTexture,
// which must then be loaded. A null `view` (no perspective projection known)
// draws every drawn cell. Needs setupLists and the textures loaded; leaves
// the enabled state as it found it.
void drawMaze(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume* view,
              int markedExits = 0);
