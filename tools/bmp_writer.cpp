// A minimal bitmap writer: the one format every texture author's tool and our loader agree on.
#include "bmp_writer.h"

#include <cstdio>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encodeBmp24(int width, int height, const std::vector<uint8_t>& rgbTopRowFirst)
{
    if (width <= 0 || height <= 0 || width > 1 << 14 || height > 1 << 14 ||
        rgbTopRowFirst.size() != size_t(width) * size_t(height) * 3)
        return {};
    const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(height);
    const uint32_t headerBytes = 14 + 40;

    std::vector<uint8_t> out;
    out.reserve(headerBytes + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + imageBytes);  // file size
    put32(out, 0);                         // two reserved words
    put32(out, headerBytes);               // offset of the pixels
    put32(out, 40);                        // information header size
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));  // positive: bottom row first
    put16(out, 1);                 // planes
    put16(out, 24);                // bits per pixel
    put32(out, 0);                 // no compression
    put32(out, imageBytes);
    put32(out, 2835);  // 72 dpi, both ways
    put32(out, 2835);
    put32(out, 0);  // no palette
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = &rgbTopRowFirst[size_t(y) * size_t(width) * 3];
        for (int x = 0; x < width; ++x) {
            out.push_back(row[3 * x + 2]);
            out.push_back(row[3 * x + 1]);
            out.push_back(row[3 * x]);
        }
        out.resize(out.size() + (rowBytes - uint32_t(width) * 3), 0);
    }
    return out;
}

bool writeBmp24(const std::string& path, int width, int height, const std::vector<uint8_t>& rgbTopRowFirst)
{
    const std::vector<uint8_t> out = encodeBmp24(width, height, rgbTopRowFirst);
    return !out.empty() && writeBytes(path, out);
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}
