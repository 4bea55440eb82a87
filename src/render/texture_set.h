#pragma once

#include <string>

#include "bitmap/textures.h"

// GL texture objects, 0 until loaded.
extern unsigned int g_textures[kTextureCount];
// The marked exits' floor (kExitFloorSlot), 0 unless exits are shown.
extern unsigned int g_exitFloorTexture;

// Loads one bitmap into textures[index] as a mipmapped texture. False for a
// file that cannot be loaded, or has a side over GL_MAX_TEXTURE_SIZE, with
// the loader's message in *err and nothing shown. A null name does nothing.
// Needs a current GL context. (The desktop's loadTexture, in
// render/bitmap_loader.h, shows the message in a box as well.)
bool loadTextureFile(unsigned int* textures, const char* fileName, int index, std::string* err);

// Makes *texture the marked exits' floor: the floor bitmap `floorFile`
// washed green (exitFloorPixels), mipmapped as loadTextureFile does. False,
// with the loader's message in *err, for a file that cannot be loaded.
bool loadExitFloorTextureFile(unsigned int* texture, const char* floorFile, std::string* err);
