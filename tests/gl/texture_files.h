#pragma once

#include <string>

struct Rgb8 {
    unsigned char r, g, b;
};

// The plain colour the test textures give each slot: the renderer's own
// colour for that kind of cell, so a textured frame looks like an untextured one.
Rgb8 slotColour(int slot);

// A fresh temporary folder holding the seven texture files as small plain
// bitmaps, all but `skipSlot`; the caller removes it with removeFolder.
std::string makeTextureFolder(int skipSlot = -1);
// The same with the seven shipped textures, as mazetool textures paints them.
std::string makeShippedTextureFolder();
void removeFolder(const std::string& dir);
