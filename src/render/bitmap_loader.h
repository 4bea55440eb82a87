#pragma once

#include <cstddef>
#include <cstdint>

// A decoded bitmap: 8-bit red, green, blue per pixel, rows of exactly
// width * 3 bytes with no padding, bottom row first, height always positive.
// Both the record and `data` come from std::malloc: release `data` first,
// then the record (std::free), or call freeRgbImage.
struct RgbImage {
    int32_t width;
    int32_t height;
    unsigned char* data;
};

// Reads a BMP file (with or without the 14-byte file header; 40- or 12-byte
// bitmap header). On failure shows one message box captioned "Error" and
// returns null with everything released.
RgbImage* loadBitmapImage(const char* fileName);

// The same decoding over bytes already in memory (the file's whole content).
// Reports failures like loadBitmapImage, except that there is no file to open.
RgbImage* decodeBitmapBuffer(const unsigned char* bytes, size_t size);

// Number of colour entries following a 40- or 12-byte bitmap header, which
// must be readable in full at `header`.
uint16_t paletteEntryCount(const unsigned char* header);

// Frees the pixel buffer, then the record. Null is fine.
void freeRgbImage(RgbImage* image);

// The largest 24-bit conversion target (rows padded to 4 bytes) the loader
// allocates; bigger images fail with "Out of memory.". 256 MiB; the fuzz
// target lowers it to stay fast.
extern size_t g_bitmapByteLimit;
