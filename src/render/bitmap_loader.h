#pragma once

#include "bitmap/bitmap_decode.h"

// Reads a BMP file into an RgbImage. On failure shows one message box
// captioned "Error" (the file that could not be opened, or the decoder's
// message) and returns null with everything released.
RgbImage* loadBitmapImage(const char* fileName);
