#pragma once

// Draws every cell of g_level through the current model-view matrix:
// open cells as floor squares, the six wall letters as cubes.
void drawLevel();

// What a cell byte draws as: the display list, the texture slot and the
// colour, or false for a cell that draws nothing.
struct CellLook {
    unsigned int list;
    int textureSlot;
    float r, g, b;
};
bool cellLook(char cell, CellLook& look);
