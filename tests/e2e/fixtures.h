#pragma once

// Files the end-to-end tests put beside the program: textures in plain
// colours, written with mazetool's bitmap writer.

#include <string>
#include <vector>

#include "bitmap/textures.h"
#include "screen.h"

namespace e2e {

// Walls all round, a start and an exit, found by the keys "wwass".
extern const char kSmallMaze[];

// The colour the renderer gives a cell without textures; the floor grey for
// the open cells " ", "*" and "x"; black for cells that draw nothing.
Rgb cellColour(char cell);

// A 24-bit uncompressed BMP of one colour (mazetool's own bitmap writer).
std::string plainBmp(int width, int height, Rgb colour);

// The seven texture files as 4x4 bitmaps, each in the plain colour of its
// slot's cells (floor (128, 128, 128), "r" red, "g" green, "b" blue,
// "c" cyan, "m" magenta, "y" yellow), so screenshots look the same with and
// without texturing.
Files plainTextureFiles();

// maze1.dat holding mazeText, plus the plain textures.
Files mazeFiles(const std::string& mazeText);

}  // namespace e2e
