// Differential test: random bitmaps in the formats stb_image also reads
// (1, 4, 8, 16, 24, 32 bits, bit fields; stb has no RLE and misreads core
// palettes) must decode to the same pixels with both decoders.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "stb_image_decoder.h"

#include "bmp_builder.h"
#include "bitmap/bitmap_decode.h"

namespace {

struct Format {
    int bitCount;
    bool bitFields;
};

// A contiguous mask of 1 to 8 bits somewhere in a `bits`-bit pixel.
uint32_t randomMask(std::mt19937& rng, int bits)
{
    const int width = 1 + int(rng() % 8);
    const int shift = int(rng() % uint32_t(bits - width + 1));
    return ((1u << width) - 1) << shift;
}

bmp::Layout randomBitmap(std::mt19937& rng, Format f)
{
    bmp::Layout s;
    s.width = 1 + int(rng() % 37);
    const int rows = 1 + int(rng() % 23);
    s.height = rng() % 2 ? rows : -rows;
    s.bitCount = uint16_t(f.bitCount);
    if (f.bitCount <= 8) {
        const uint32_t maxCount = 1u << f.bitCount;
        const uint32_t count = rng() % 3 == 0 ? maxCount : 1 + rng() % maxCount;
        s.clrUsed = count == maxCount && rng() % 2 ? 0 : count;
        for (uint32_t i = 0; i < count; ++i)
            s.palette.push_back(rng() & 0xFFFFFF);
    }
    if (f.bitFields) {
        s.compression = 3;
        do
            s.masks = {randomMask(rng, f.bitCount), randomMask(rng, f.bitCount), randomMask(rng, f.bitCount)};
        while (s.masks[0] == s.masks[1] && s.masks[1] == s.masks[2]);  // stb refuses those
    }
    const size_t stride = (size_t(f.bitCount) * size_t(s.width) + 31) / 32 * 4;
    for (int y = 0; y < rows; ++y) {
        std::string row;
        for (size_t i = 0; i < stride; ++i)
            row += char(rng());
        if (f.bitCount <= 8) {
            // Indices within the palette, stored most significant bits first; the
            // bits after the last pixel stay random.
            const uint32_t count = uint32_t(s.palette.size());
            for (int x = 0; x < s.width; ++x) {
                const size_t bit = size_t(x) * f.bitCount;
                const int shift = 8 - f.bitCount - int(bit % 8);
                const unsigned mask = ((1u << f.bitCount) - 1) << shift;
                unsigned char& b = reinterpret_cast<unsigned char&>(row[bit / 8]);
                b = (unsigned char)((b & ~mask) | ((rng() % count) << shift));
            }
        }
        s.pixels += row;
    }
    return s;
}

TEST(BitmapOracle, AgreesWithStbImage)
{
    const Format formats[] = {{1, false}, {4, false}, {8, false}, {16, false},
                              {16, true}, {24, false}, {32, false}, {32, true}};
    std::mt19937 rng(20240611);
    for (int i = 0; i < 800; ++i) {
        const Format f = formats[i % 8];
        const bmp::Layout layout = randomBitmap(rng, f);
        const std::string file = bmp::build(layout);
        const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
        SCOPED_TRACE(testing::Message() << "case " << i << ": " << f.bitCount << " bits" << (f.bitFields ? " fields" : "")
                                        << ", " << layout.width << " by " << layout.height);

        int w = 0, h = 0, n = 0;
        unsigned char* expected = stbi_load_from_memory(bytes, int(file.size()), &w, &h, &n, 3);
        ASSERT_NE(expected, nullptr) << stbi_failure_reason();
        std::string err;
        RgbImage* image = decodeBitmap(bytes, file.size(), &err);
        ASSERT_NE(image, nullptr) << err;
        EXPECT_EQ(image->width, w);
        EXPECT_EQ(image->height, h);
        if (image->width == w && image->height == h) {
            // stb returns the top row first, the loader the bottom row.
            const size_t rowBytes = size_t(w) * 3;
            for (int y = 0; y < h; ++y)
                ASSERT_EQ(0, std::memcmp(image->data + size_t(y) * rowBytes, expected + size_t(h - 1 - y) * rowBytes, rowBytes))
                    << "row " << y << " from the bottom";
        }
        freeRgbImage(image);
        stbi_image_free(expected);
    }
}

}  // namespace
