#include "fixtures.h"

#include <cstdint>

#include "bmp_writer.h"

namespace e2e {

const char kSmallMaze[] =
    "rgbcm\n"
    "y*  r\n"
    "g g b\n"
    "c  xm\n"
    "yrgbc\n";

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

std::string plainBmp(int width, int height, Rgb colour)
{
    std::vector<uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {colour.r, colour.g, colour.b});
    std::vector<uint8_t> bytes = encodeBmp24(width, height, rgb);
    return std::string(bytes.begin(), bytes.end());
}

Files plainTextureFiles()
{
    const char cells[7] = {' ', 'r', 'g', 'b', 'c', 'm', 'y'};
    Files files;
    for (int i = 0; i < 7; ++i)
        files[g_textureFiles[i]] = plainBmp(4, 4, cellColour(cells[i]));
    return files;
}

Files mazeFiles(const std::string& mazeText)
{
    Files files = plainTextureFiles();
    files["maze1.dat"] = mazeText;
    return files;
}

}  // namespace e2e
