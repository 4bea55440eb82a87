#pragma once

#include <string>

#include "bitmap/bitmap_decode.h"

// Reads a BMP file, sides up to `sideLimit` pixels, into an RgbImage. On
// failure shows one message box captioned "Error" (readBitmapFile's message,
// then `missingHint` when the file does not exist) and returns null with
// everything released.
RgbImage* loadBitmapImage(const char* fileName, int32_t sideLimit = kMaxBitmapSide, const std::string& missingHint = "");
