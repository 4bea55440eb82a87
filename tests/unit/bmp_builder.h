#pragma once
// Test-only: assembles bitmap files byte by byte, so every field is under the test's control.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace bmp {

inline void put16(std::string& s, uint32_t v)
{
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
inline void put32(std::string& s, uint32_t v)
{
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// Blue, green, red of 0xRRGGBB: one 24-bit pixel as stored.
inline std::string bgr(uint32_t rgb) { return {char(rgb & 0xFF), char((rgb >> 8) & 0xFF), char((rgb >> 16) & 0xFF)}; }

// Bytes as given.
inline std::string bytes(std::initializer_list<unsigned> values)
{
    std::string s;
    for (unsigned v : values)
        s += char(v);
    return s;
}

// A stored row: the bytes followed by zero padding up to a multiple of 4.
inline std::string row(const std::string& data) { return data + std::string((4 - data.size() % 4) % 4, '\0'); }
inline std::string row(std::initializer_list<unsigned> values) { return row(bytes(values)); }

inline std::string le16s(std::initializer_list<unsigned> values)
{
    std::string s;
    for (unsigned v : values)
        put16(s, v);
    return s;
}
inline std::string le32s(std::initializer_list<uint32_t> values)
{
    std::string s;
    for (uint32_t v : values)
        put32(s, v);
    return s;
}

struct Layout {
    bool fileHeader = true;
    uint32_t headerSize = 40;  // 40 info, 12 core; other sizes write a zero-filled body of that size
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    std::vector<uint32_t> palette;  // 0xRRGGBB; 4-byte entries after an info header, 3-byte after a core one
    std::vector<uint32_t> masks;    // written right after the header
    std::string pixels;             // exactly as stored
    size_t gap = 0;                 // bytes between the colour entries and the pixels
    int64_t pixelOffset = -1;       // the file header's offset field; -1: where the pixels really start
    int64_t fileSizeField = -1;     // -1: the real size
};

inline std::string build(const Layout& s)
{
    std::string h;
    put32(h, s.headerSize);
    if (s.headerSize == 12) {
        put16(h, uint32_t(s.width));
        put16(h, uint32_t(s.height));
        put16(h, s.planes);
        put16(h, s.bitCount);
    } else {
        put32(h, uint32_t(s.width));
        put32(h, uint32_t(s.height));
        put16(h, s.planes);
        put16(h, s.bitCount);
        put32(h, s.compression);
        put32(h, s.sizeImage);
        put32(h, 2835);
        put32(h, 2835);
        put32(h, s.clrUsed);
        put32(h, 0);
        if (s.headerSize > h.size())
            h.resize(s.headerSize, '\0');
    }
    for (uint32_t m : s.masks)
        put32(h, m);
    for (uint32_t c : s.palette) {
        h += bgr(c);
        if (s.headerSize != 12)
            h += '\0';
    }
    h += std::string(s.gap, '\x5A');
    if (!s.fileHeader)
        return h + s.pixels;
    std::string f = "BM";
    const size_t total = 14 + h.size() + s.pixels.size();
    put32(f, s.fileSizeField < 0 ? uint32_t(total) : uint32_t(s.fileSizeField));
    put32(f, 0);
    put32(f, s.pixelOffset < 0 ? uint32_t(14 + h.size()) : uint32_t(s.pixelOffset));
    return f + h + s.pixels;
}

}  // namespace bmp
