#pragma once

// The seven textures that dress the maze: slot 0 the floor, slots 1 to 6
// the walls "r", "g", "b", "c", "m", "y".
const int kTextureCount = 7;
// File names, read from the working directory.
extern const char* const g_textureFiles[kTextureCount];

// The power of two nearest to n (ties go up), at most `limit`: the side a
// texture is rescaled to before its mipmaps are built.
int nearestPowerOfTwo(int n, int limit);
