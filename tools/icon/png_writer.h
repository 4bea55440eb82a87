#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An 8-bit RGBA PNG of the pixels (top row first, four bytes each),
// compressed by stb_image_write. Empty if the size does not match the pixels.
std::vector<uint8_t> encodePngRgba(int width, int height, const std::vector<uint8_t>& rgba);
// The same written to path; false if it cannot be written completely.
bool writePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
