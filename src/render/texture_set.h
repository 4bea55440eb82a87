#pragma once

#include <string>

#include "bitmap/textures.h"

// GL texture objects, 0 until loaded.
extern unsigned int g_textures[kTextureCount];

// Loads one bitmap into textures[index] as a mipmapped texture. False for a
// file that cannot be loaded, or has a side over GL_MAX_TEXTURE_SIZE, once the
// loader's message box is dismissed.
// A null name does nothing. `missingHint` follows the loader's message when
// the file does not exist.
bool loadTexture(unsigned int* textures, const char* fileName, int index, const std::string& missingHint = "");
