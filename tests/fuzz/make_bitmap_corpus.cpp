// Writes the seed corpus of the bitmap fuzz target: one small file for each
// format and escape the decoder knows, plus a few broken ones.
// Usage: bitmap_corpus DIR
#include <cstdio>
#include <fstream>
#include <string>

#include "bmp_builder.h"

using namespace bmp;

namespace {

Layout make(int width, int height, int bitCount, std::string pixels, void (*change)(Layout&) = nullptr)
{
    Layout s;
    s.width = width;
    s.height = height;
    s.bitCount = uint16_t(bitCount);
    s.pixels = std::move(pixels);
    if (change)
        change(s);
    return s;
}

std::vector<uint32_t> palette(int n)
{
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i)
        p.push_back(uint32_t(i * 0x0F1E2D) & 0xFFFFFF);
    return p;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bitmap_corpus DIR\n");
        return 2;
    }
    const std::string rle8 = bytes({3, 1, 0, 0, 0, 3, 2, 3, 0, 0, 1, 1, 0, 2, 1, 1, 2, 3, 0, 1});
    const std::string rle4 = bytes({5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 1, 0, 1, 0x9A, 0, 1});
    const std::pair<const char*, std::string> seeds[] = {
        {"rgb24_2x2", build(make(2, 2, 24, row(bgr(0xFF) + bgr(0xFF00)) + row(bgr(0xFF0000) + bgr(0xFFFFFF))))},
        {"rgb24_5x2", build(make(5, 2, 24, std::string(32, '\x33')))},
        {"rgb24_topdown", build(make(3, -2, 24, std::string(24, '\x77')))},
        {"rgb24_no_file_header", build(make(1, 1, 24, row(bgr(0x123456)), [](Layout& s) { s.fileHeader = false; }))},
        {"rgb24_gap", build(make(1, 1, 24, row(bgr(0x123456)), [](Layout& s) { s.gap = 6; }))},
        {"pal1_10x2", build(make(10, 2, 1, row({0xB2, 0xC0}) + row({0x4D, 0}), [](Layout& s) { s.palette = palette(2); }))},
        {"pal4_used3", build(make(3, 2, 4, row({0x01, 0x20}) + row({0x25, 0x10}), [](Layout& s) { s.clrUsed = 3, s.palette = palette(3); }))},
        {"pal4_full", build(make(4, 1, 4, row({0xF0, 0x9A}), [](Layout& s) { s.palette = palette(16); }))},
        {"pal8_full", build(make(3, 1, 8, row({0, 255, 128}), [](Layout& s) { s.palette = palette(256); }))},
        {"pal8_used20_headerless", build(make(3, 1, 8, row({19, 20, 0}), [](Layout& s) { s.fileHeader = false, s.clrUsed = 20, s.palette = palette(20); }))},
        {"pal8_topdown", build(make(1, -2, 8, row({1}) + row({2}), [](Layout& s) { s.clrUsed = 4, s.palette = palette(4); }))},
        {"core_pal8_headerless", build(make(2, 1, 8, row({7, 200}), [](Layout& s) { s.fileHeader = false, s.headerSize = 12, s.palette = palette(256); }))},
        {"core_pal1", build(make(3, 1, 1, row({0x40}), [](Layout& s) { s.headerSize = 12, s.palette = palette(2); }))},
        {"core_rgb24", build(make(1, 2, 24, row(bgr(1)) + row(bgr(2)), [](Layout& s) { s.headerSize = 12; }))},
        {"rgb16_555", build(make(4, 1, 16, le16s({0x7C00, 0x03E0, 0x001F, 0x4210})))},
        {"fields16_565", build(make(3, 1, 16, row(le16s({0xF800, 0x07E0, 0x8410})), [](Layout& s) { s.compression = 3, s.masks = {0xF800, 0x07E0, 0x001F}; }))},
        {"fields16_444_headerless", build(make(2, 1, 16, le16s({0x0F00, 0x0A50}), [](Layout& s) { s.fileHeader = false, s.compression = 3, s.masks = {0xF00, 0xF0, 0xF}; }))},
        {"rgb32", build(make(2, 1, 32, bytes({1, 2, 3, 4, 5, 6, 7, 8})))},
        {"fields32_101010", build(make(1, 2, 32, le32s({0x3FF00000, 0x000FFC01}), [](Layout& s) { s.compression = 3, s.masks = {0x3FF00000, 0xFFC00, 0x3FF}; }))},
        {"rle8_escapes", build(make(4, 3, 8, rle8, [](Layout& s) { s.compression = 1, s.clrUsed = 4, s.palette = palette(4); }))},
        {"rle4_escapes", build(make(6, 3, 4, rle4, [](Layout& s) { s.compression = 2, s.palette = palette(16); }))},
        {"header108", build(make(1, 1, 24, row(bgr(1)), [](Layout& s) { s.headerSize = 108; }))},
        {"truncated_pixels", build(make(4, 2, 24, std::string(23, '\x40')))},
        {"huge", build(make(20000, 20000, 24, std::string(16, '\0')))},
    };
    for (const auto& seed : seeds) {
        const std::string path = std::string(argv[1]) + "/" + seed.first + ".bmp";
        std::ofstream out(path, std::ios::binary);
        out << seed.second;
        if (!out) {
            std::fprintf(stderr, "bitmap_corpus: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
