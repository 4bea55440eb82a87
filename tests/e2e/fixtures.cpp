#include "fixtures.h"

#include <cstdint>

namespace e2e {

const char* const kTextureFiles[7] = {
    "metal004.bmp",         "pipes6lights.bmp",      "pipeslights.bmp",    "pipeslightswires.bmp",
    "StoneWallImproved.bmp", "RustyBricksGrate.bmp", "SteelBoxFan.bmp",
};

Rgb cellColour(char cell)
{
    switch (cell) {
    case ' ':
    case '*':
    case 'x': return {128, 128, 128};
    case 'r': return {255, 0, 0};
    case 'g': return {0, 255, 0};
    case 'b': return {0, 0, 255};
    case 'c': return {0, 255, 255};
    case 'm': return {255, 0, 255};
    case 'y': return {255, 255, 0};
    default: return {0, 0, 0};
    }
}

namespace {

void put16(std::string& s, uint32_t v)
{
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}

void put32(std::string& s, uint32_t v)
{
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}

}  // namespace

std::string bmp24(int width, int height, const std::vector<Rgb>& pixels)
{
    const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(height);
    const uint32_t offset = 14 + 40;
    std::string s;
    s += "BM";
    put32(s, offset + imageBytes);
    put32(s, 0);  // reserved
    put32(s, offset);
    put32(s, 40);  // BITMAPINFOHEADER
    put32(s, uint32_t(width));
    put32(s, uint32_t(height));  // positive: bottom row first
    put16(s, 1);                 // planes
    put16(s, 24);
    put32(s, 0);  // BI_RGB
    put32(s, imageBytes);
    put32(s, 2835);  // 72 dpi
    put32(s, 2835);
    put32(s, 0);
    put32(s, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            Rgb c = pixels[size_t(y) * size_t(width) + size_t(x)];
            row += char(c.b);
            row += char(c.g);
            row += char(c.r);
        }
        row.resize(rowBytes, '\0');
        s += row;
    }
    return s;
}

std::string plainBmp(int width, int height, Rgb colour)
{
    return bmp24(width, height, std::vector<Rgb>(size_t(width) * size_t(height), colour));
}

Files plainTextureFiles()
{
    const char cells[7] = {' ', 'r', 'g', 'b', 'c', 'm', 'y'};
    Files files;
    for (int i = 0; i < 7; ++i)
        files[kTextureFiles[i]] = plainBmp(4, 4, cellColour(cells[i]));
    return files;
}

Files mazeFiles(const std::string& mazeText)
{
    Files files = plainTextureFiles();
    files["maze1.dat"] = mazeText;
    return files;
}

}  // namespace e2e
