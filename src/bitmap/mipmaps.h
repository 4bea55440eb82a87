#pragma once

#include <cstdint>
#include <vector>

#include "bitmap/bitmap_decode.h"

// One level of a mipmapped texture: packed RGB rows, bottom row first.
struct MipLevel {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// The levels the desktop's GLU calls upload for an image: rescaled to the
// nearest powers of two as gluScaleImage does (each new pixel averages the
// box of old pixels it covers, a one-pixel box when enlarging, wrapping at
// the edges), then halved down to 1 by 1 with gluBuild2DMipmaps' box filter
// (the rounded mean of each 2 by 2 block; once a side is 1, the truncated
// mean of each pair).
std::vector<MipLevel> buildMipmaps(const RgbImage& image, int maxSide);
