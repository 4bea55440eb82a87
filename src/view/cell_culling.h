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

// The cells of drawnCells, in the same order, less those wholly outside the
// view volume of `camera` and `view`. A cell's geometry lies inside the cube
// of edge `cellSpacing` centred on (column * cellSpacing, 0, row *
// cellSpacing); a cell is left out only when that cube's bounding sphere
// (slightly enlarged, so float rounding in the GL's own transforms cannot
// matter) lies wholly behind the eye, beyond the far plane, or outside one of
// the four side planes. A view that is not a valid perspective (field of view
// outside (0, 180) degrees, aspect not positive) leaves every drawn cell in.
void cellsInViewVolume(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume& view,
                       std::vector<point2>* cells);

// The cells of cellsInViewVolume, in the same order, less those that nearer
// walls hide from every pixel. Needs each wall cell (cellLook's wall) drawn as
// that whole cube with its four upright faces, and nothing of any cell above
// or below the cube. Seen from above, a cell is hidden when every ray from the
// eye that reaches its square within the view's horizontal extent and beyond
// the near plane first enters a wall's square through a side the eye faces,
// beyond the near plane: the ray from the eye to any point of the cell stays
// between the cubes' top and bottom, so it passes through that wall's face
// first. Every wall's blocking directions are narrowed and every tested
// cell's directions widened, so that rounding can only keep a cell; two walls
// that touch only at a corner leave a gap. Hides nothing unless the camera is
// level (its right and backward axes horizontal, as turns keep them), the eye
// at most half-way from the cubes' middle to their top or bottom, and the near
// plane in front of the eye.
void visibleCells(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume& view,
                  std::vector<point2>* cells);
