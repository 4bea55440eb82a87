#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct DibSource;

// A decoded bitmap: 8-bit red, green, blue per pixel, rows of exactly
// width * 3 bytes with no padding, bottom row first, height always positive.
// Both the record and `data` come from std::malloc: release `data` first,
// then the record (std::free), or call freeRgbImage.
struct RgbImage {
    int32_t width;
    int32_t height;
    unsigned char* data;
};

// The longest side, in pixels, decoding takes by default. A few bytes of RLE
// can declare any size, so larger images are refused before any allocation.
const int32_t kMaxBitmapSide = 8192;

// The largest 24-bit conversion target (rows padded to 4 bytes) decoding
// allocates by default.
const size_t kMaxBitmapBytes = size_t(256) << 20;

// Parses a BMP file's headers (with or without the 14-byte file header; a
// 40- or 12-byte bitmap header), colour entries and bit-field masks into
// `source`, whose `bits` then point into `file`. False with the user's
// message in `*err` when the file is not one the loader reads.
bool parseBitmap(const unsigned char* file, size_t size, DibSource* source, std::string* err);

// Decodes a whole BMP file held in memory. Silent: on failure returns null
// with the message in `*err` ("Out of memory.", "Unknown DIB file format.",
// "Image file conversion error.", or what is wrong with the declared size).
// Images with a side over `sideLimit` pixels, or whose conversion target
// would exceed `byteLimit` bytes (a whole number of MiB), are refused.
RgbImage* decodeBitmap(const unsigned char* bytes, size_t size, std::string* err,
                       size_t byteLimit = kMaxBitmapBytes, int32_t sideLimit = kMaxBitmapSide);

// Maps and decodes a BMP file, sides up to `sideLimit`. Silent: on failure
// returns null with the message in `*err`: "Failed to open DIB file NAME.\n"
// when it cannot be opened, is not a regular file or is empty, else
// decodeBitmap's, which but for "Unknown DIB file format." starts "NAME: ".
RgbImage* readBitmapFile(const char* fileName, std::string* err, int32_t sideLimit = kMaxBitmapSide);

// Decodes the bytes read from the file `fileName` (a null `bytes` for a file
// that could not be read) with readBitmapFile's messages: no bytes or none
// at all read as a file that cannot be opened, the rest as decodeBitmap's.
RgbImage* decodeBitmapFile(const char* fileName, const unsigned char* bytes, size_t size, std::string* err,
                           int32_t sideLimit = kMaxBitmapSide);

// Number of colour entries following a 40- or 12-byte bitmap header, which
// must be readable in full at `header`.
uint16_t paletteEntryCount(const unsigned char* header);

// Frees the pixel buffer, then the record. Null is fine.
void freeRgbImage(RgbImage* image);
