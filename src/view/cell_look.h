#pragma once

// What a cell byte draws as: a wall cube or a floor square, the texture slot
// (0 the floor, 1 to 6 the walls) and the colour. No GL here, so any front
// end and mazetool agree on which cells are drawn.
struct CellLook {
    bool wall;
    int textureSlot;
    float r, g, b;
};

// Fills `look` and returns true for a cell that draws something; false (and
// `look` untouched) for an invisible wall or a cell the file never reached.
bool cellLook(char cell, CellLook& look);
