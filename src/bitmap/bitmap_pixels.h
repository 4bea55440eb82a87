#pragma once

#include <cstddef>
#include <cstdint>

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

// A bitmap's headers, parsed: everything the pixel conversion reads. Both
// header kinds (40-byte information, 12-byte core) come out in this form.
struct DibSource {
    int32_t width;
    int32_t height;  // negative: rows stored top-down
    uint16_t bitCount;
    uint32_t compression;
    unsigned char palette[256][4];  // blue, green, red, 0; uncounted entries stay zero (black)
    uint32_t masks[3];              // red, green, blue; used for kBiBitfields only
    const unsigned char* bits;      // the pixel data, `bitsSize` bytes of it readable
    size_t bitsSize;
};

// Bytes per row of a 24-bit conversion target `width` pixels wide.
inline uint64_t dibTargetStride(int32_t width) { return (uint64_t(width) * 3 + 3) & ~uint64_t(3); }

// Decodes the source into `target`: width by |height| pixels of
// blue, green, red, rows padded to dibTargetStride, bottom row first. The
// target must be zeroed: pixels an RLE stream skips stay black. Handles 1, 4,
// 8, 16, 24 and 32 bits per pixel, RLE8, RLE4 and 16/32-bit bit fields.
// Uncompressed data may end right after the last row's pixels: padding is
// never read. Returns the number of rows converted, 0 when the source cannot
// be decoded (unsupported format or pixel data running past bitsSize).
int convertDib(const DibSource& source, unsigned char* target);
