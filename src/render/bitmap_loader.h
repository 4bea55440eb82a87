#pragma once

#include <string>

#include "bitmap/bitmap_decode.h"

// The desktop's loaders, which tell the user why a bitmap failed in a
// message box (platform/message_box.h), so they need the GLUT front end.

// Reads a BMP file, sides up to `sideLimit` pixels, into an RgbImage. On
// failure shows one message box captioned "Error" (readBitmapFile's message,
// then `missingHint` when the file does not exist) and returns null with
// everything released.
RgbImage* loadBitmapImage(const char* fileName, int32_t sideLimit = kMaxBitmapSide, const std::string& missingHint = "");

// loadTextureFile (render/texture_set.h), whose failure message (then
// `missingHint` when the file does not exist) is shown in one box captioned
// "Error"; false once the box is dismissed.
bool loadTexture(unsigned int* textures, const char* fileName, int index, const std::string& missingHint = "");

// loadExitFloorTextureFile (render/texture_set.h), whose failure message is
// shown in one box captioned "Error"; false once the box is dismissed.
bool loadExitFloorTexture(unsigned int* texture, const char* floorFile);
