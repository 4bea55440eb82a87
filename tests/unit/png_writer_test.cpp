// The icon's PNG writer against stb_image: an image large enough for several
// stored blocks decodes to the same pixels.
#include <gtest/gtest.h>

#include <random>

#include "icon/png_writer.h"
#include "stb_image_decoder.h"

namespace {

TEST(PngWriter, WhatItWritesDecodesToTheSamePixels)
{
    const int width = 150, height = 120;  // 72,120 bytes of rows: two stored blocks
    std::mt19937 rng(5);
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    for (uint8_t& byte : rgba)
        byte = uint8_t(rng());
    const std::vector<uint8_t> png = encodePngRgba(width, height, rgba);
    ASSERT_FALSE(png.empty());

    int w = 0, h = 0, channels = 0;
    stbi_uc* decoded = stbi_load_from_memory(png.data(), int(png.size()), &w, &h, &channels, 4);
    ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
    EXPECT_EQ(channels, 4);
    EXPECT_TRUE(std::equal(rgba.begin(), rgba.end(), decoded));
    stbi_image_free(decoded);

    // stb_image checks no CRC; every PNG ends in the same IEND chunk, CRC included.
    const std::vector<uint8_t> iend = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    EXPECT_TRUE(std::equal(iend.begin(), iend.end(), png.end() - long(iend.size())));

    EXPECT_TRUE(encodePngRgba(width, height, std::vector<uint8_t>(rgba.size() - 1)).empty());
}

}  // namespace
