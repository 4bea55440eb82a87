#include "maze/cell_rules.h"

const int kHeadingSteps[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

point2 stepTarget(point2 from, int heading, int direction)
{
    const int sign = direction == 0 ? 1 : -1;
    return point2{from.column + sign * kHeadingSteps[heading][0], from.row + sign * kHeadingSteps[heading][1]};
}

bool canStep(const maze& m, point2 from, int heading, int direction)
{
    const point2 to = stepTarget(from, heading, direction);
    return isOpenCell(m.getElement(to.column, to.row));
}

bool isExitCell(const maze& m, int exitCount, point2 cell)
{
    for (int i = 0; i < exitCount; ++i) {
        const point2 e = m.getExit(i);
        if (e.column == cell.column && e.row == cell.row)
            return true;
    }
    return false;
}
