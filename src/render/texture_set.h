#pragma once

// The seven textures that dress the maze: slot 0 the floor, slots 1 to 6
// the walls "r", "g", "b", "c", "m", "y".
const int kTextureCount = 7;
extern unsigned int g_textures[kTextureCount];
extern const char* const g_textureFiles[kTextureCount];

// Loads one bitmap into textures[index] as a mipmapped texture. A file that
// cannot be loaded ends the program with code 1 once the loader's message is
// dismissed. A null name does nothing.
void loadTexture(unsigned int* textures, const char* fileName, int index);
