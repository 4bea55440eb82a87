#pragma once

#include <cstdint>
#include <vector>

// The shipped textures, painted procedurally so every build makes the same bytes.
const int kTextureArtSize = 256;

// Paints the texture of a slot (0 the floor plate, 1..6 the walls "r", "g", "b",
// "c", "m", "y") and returns kTextureArtSize x kTextureArtSize RGB pixels, top row
// first: the last row is the bottom of a wall. Every texture tiles seamlessly.
std::vector<uint8_t> drawTextureArt(int slot);
