#pragma once

#include <cstdint>
#include <vector>

#include "bitmap/bitmap_decode.h"
#include "bitmap/textures.h"
#include "maze/maze.h"
#include "view/cell_look.h"

// Exits a player can see: the floor of a marked exit wears a texture of its
// own, the floor texture washed with a clear green, kept in one slot after
// the loaded textures. Walls and sky look as they always do. No GL here, so
// every front end marks the same cells the same way.

// The texture slot of a marked exit's floor, and how many slots a renderer
// that marks exits holds.
const int kExitFloorSlot = kTextureCount;
const int kLookSlotCount = kTextureCount + 1;

// What the cell at `cell` of `level` draws as: cellLook of its byte, except
// that one of the level's first `markedExits` exits (isExitCell; 0 marks
// none) is a floor in kExitFloorSlot. False, `look` untouched, for a cell
// that draws nothing.
bool cellLookAt(const maze& level, point2 cell, int markedExits, CellLook& look);

// The marked exit floor's picture, made from the floor texture's: every
// pixel of `floor` mixed half and half with a bright green, so the exit
// stands out at every distance and mipmap level while keeping the floor's
// pattern. Same size and row layout as `floor` (width * 3 bytes a row,
// bottom row first).
std::vector<uint8_t> exitFloorPixels(const RgbImage& floor);
