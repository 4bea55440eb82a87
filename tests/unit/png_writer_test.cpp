// The icon's PNG writer against stb_image: the pixels come back as given (rows,
// stride and channels passed right to the encoder), and the data is compressed.
#include <gtest/gtest.h>

#include <random>

#include "icon/png_writer.h"
#include "stb_image_decoder.h"

namespace {

std::vector<uint8_t> decodeRgba(const std::vector<uint8_t>& png, int* width, int* height)
{
    int channels = 0;
    stbi_uc* decoded = stbi_load_from_memory(png.data(), int(png.size()), width, height, &channels, 4);
    if (!decoded)
        return {};
    std::vector<uint8_t> rgba(decoded, decoded + size_t(*width) * size_t(*height) * 4);
    stbi_image_free(decoded);
    return channels == 4 ? rgba : std::vector<uint8_t>();
}

TEST(PngWriter, WhatItWritesDecodesToTheSamePixels)
{
    // Noise (incompressible) of an odd width, and smooth rows that deflate well.
    const int width = 151, height = 120;
    std::mt19937 rng(5);
    std::vector<uint8_t> noise(size_t(width) * height * 4), smooth(noise.size());
    for (uint8_t& byte : noise)
        byte = uint8_t(rng());
    for (size_t i = 0; i < smooth.size(); ++i)
        smooth[i] = uint8_t(i % 4 == 3 ? 255 : (i / 4) % size_t(width));
    for (const std::vector<uint8_t>* rgba : {&noise, &smooth}) {
        const std::vector<uint8_t> png = encodePngRgba(width, height, *rgba);
        ASSERT_FALSE(png.empty());
        int w = 0, h = 0;
        EXPECT_EQ(decodeRgba(png, &w, &h), *rgba) << stbi_failure_reason();
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        if (rgba == &smooth) {
            EXPECT_LT(png.size(), rgba->size() / 10);
        }
    }
    EXPECT_TRUE(encodePngRgba(width, height, std::vector<uint8_t>(noise.size() - 1)).empty());
}

}  // namespace
