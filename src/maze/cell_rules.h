#pragma once

#include "maze/cell_kind.h"
#include "maze/maze.h"

// The rules every part of the program agrees on about cells and steps.

// Whether the walker may stand on a cell holding this byte: floor, the
// start or an exit. Everything else blocks, drawn or not.
inline bool isOpenCell(char c)
{
    return cellRowOf(c).open;
}

// Column and row change of one step forward for each heading:
// 0 faces -z (up the file), 1 +x, 2 +z, 3 -x.
extern const int kHeadingSteps[4][2];

// The cell one step from `from` (direction 0 forward, 1 backward).
point2 stepTarget(point2 from, int heading, int direction);

// Whether that cell may be entered; outside the grid reads as 0, which
// blocks like any other wall.
bool canStep(const maze& m, point2 from, int heading, int direction);

// Whether `cell` is one of the first `exitCount` exits of the maze.
bool isExitCell(const maze& m, int exitCount, point2 cell);
