#include "view/cell_look.h"

#include "maze/cell_kind.h"

namespace {

// The colour each texture slot is drawn in: the floor grey, then the walls
// in the order of their slots.
const float kSlotColours[7][3] = {
    {0.5f, 0.5f, 0.5f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0},
};

}  // namespace

bool cellLook(char cell, CellLook& look)
{
    const CellKindRow& row = cellRowOf(cell);
    if (!row.drawn)
        return false;
    const float* colour = kSlotColours[row.textureSlot];
    look = {!row.open, row.textureSlot, colour[0], colour[1], colour[2]};
    return true;
}
