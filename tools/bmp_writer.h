#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An uncompressed 24-bit bitmap's bytes (14-byte file header, 40-byte
// information header, rows stored bottom-up and padded to 4 bytes). The pixels
// come as RGB triples, top row first. Empty if the size does not match the pixels.
std::vector<uint8_t> encodeBmp24(int width, int height, const std::vector<uint8_t>& rgbTopRowFirst);
// Writes encodeBmp24's bytes to `path`. Returns false if the size does not
// match the pixels or the file cannot be written completely.
bool writeBmp24(const std::string& path, int width, int height, const std::vector<uint8_t>& rgbTopRowFirst);

// Writes the bytes to path (replacing the file); false unless all were written.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
