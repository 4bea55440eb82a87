#pragma once

#include "bitmap/textures.h"

// GL texture objects, 0 until loaded.
extern unsigned int g_textures[kTextureCount];
// The marked exits' floor (kExitFloorSlot), 0 unless exits are shown.
extern unsigned int g_exitFloorTexture;

// Loads one bitmap into textures[index] as a mipmapped texture. False for a
// file that cannot be loaded, or has a side over GL_MAX_TEXTURE_SIZE, once the
// loader's message box is dismissed.
// A null name does nothing.
bool loadTexture(unsigned int* textures, const char* fileName, int index);

// Makes *texture the marked exits' floor: the floor bitmap `floorFile`
// washed green (exitFloorPixels), mipmapped as loadTexture does. False, after
// the loader's message box, for a file that cannot be loaded.
bool loadExitFloorTexture(unsigned int* texture, const char* floorFile);
