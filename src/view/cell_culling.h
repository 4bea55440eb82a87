#pragma once

#include <vector>

#include "geometry/camera.h"
#include "maze/maze.h"

// A symmetric perspective projection, as gluPerspective builds it: the
// vertical field of view in degrees, width / height, and the distances of
// the near and far planes along the view direction.
struct ViewVolume {
    float fovyDegrees;
    float aspect;
    float zNear;
    float zFar;
};

// Every cell of `level` that draws something (cellLook), row by row from
// row 0 and column by column within a row: the order the renderer draws in.
// Cells at or beyond the maze's width are not part of it.
void drawnCells(const maze& level, std::vector<point2>* cells);

// The cells of drawnCells, in the same order, less those that cannot put a
// single pixel in the window when seen from `camera` through `view`. A cell's
// geometry lies inside the cube of edge `cellSpacing` centred on
// (column * cellSpacing, 0, row * cellSpacing); a cell is left out only when
// that cube's bounding sphere (slightly enlarged, so float rounding in the
// GL's own transforms cannot matter) lies wholly behind the eye, beyond the
// far plane, or outside one of the four side planes. A view that is not a
// valid perspective (field of view outside (0, 180) degrees, aspect not
// positive) leaves every drawn cell in.
void visibleCells(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume& view,
                  std::vector<point2>* cells);
