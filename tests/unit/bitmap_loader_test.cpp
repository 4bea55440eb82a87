#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "bitmap/bitmap_decode.h"
#include "bmp_builder.h"
#include "platform/message_box.h"
#include "render/bitmap_loader.h"
#include "tool_run.h"

namespace {

using bmp::bgr;
using bmp::bytes;
using bmp::le16s;
using bmp::le32s;
using bmp::row;

// One folder for the whole test program, removed when it ends.
std::string tempDir()
{
    static const struct Folder {
        std::string path;
        Folder()
        {
            char name[] = "/tmp/bitmap_test_XXXXXX";
            path = mkdtemp(name);
        }
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    return folder.path;
}

std::string writeTemp(const std::string& name, const std::string& content)
{
    std::string path = tempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

struct Decoded {
    bool ok = false;
    int width = 0, height = 0;
    std::string rgb;  // bottom row first, 3 bytes a pixel
    std::string err;  // everything written to stderr
};

Decoded loadPath(const std::string& path, int32_t sideLimit = kMaxBitmapSide)
{
    Decoded d;
    testing::internal::CaptureStderr();
    RgbImage* image = loadBitmapImage(path.c_str(), sideLimit);
    d.err = testing::internal::GetCapturedStderr();
    if (image) {
        d.ok = true;
        d.width = image->width;
        d.height = image->height;
        d.rgb.assign(reinterpret_cast<const char*>(image->data), size_t(image->width) * image->height * 3);
        freeRgbImage(image);
    }
    return d;
}

Decoded loadBytes(const std::string& content, int32_t sideLimit = kMaxBitmapSide)
{
    std::string path = writeTemp("image.bmp", content);
    Decoded d = loadPath(path, sideLimit);
    std::remove(path.c_str());
    return d;
}

// Pixels as 0xRRGGBB, in the order expected in the buffer.
std::string rgb(const std::vector<uint32_t>& pixels)
{
    std::string s;
    for (uint32_t p : pixels)
        s += {char(p >> 16), char(p >> 8), char(p)};
    return s;
}

std::vector<uint32_t> ramp(int n, uint32_t seed)
{
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i)
        p.push_back(((uint32_t(i) * 37 + seed) & 0xFF) << 16 | ((255 - uint32_t(i)) & 0xFF) << 8 | ((uint32_t(i) * 3 + 1) & 0xFF));
    return p;
}

const std::vector<uint32_t> kPal16 = ramp(16, 5);
const std::vector<uint32_t> kPal256 = ramp(256, 9);
const uint32_t kBlack = 0;

bmp::Layout layout(int width, int height, int bitCount, std::string pixels)
{
    bmp::Layout s;
    s.width = width;
    s.height = height;
    s.bitCount = uint16_t(bitCount);
    s.pixels = std::move(pixels);
    return s;
}

template <class F>
bmp::Layout with(bmp::Layout s, F change)
{
    change(s);
    return s;
}

struct PixelCase {
    const char* name;
    bmp::Layout file;
    int width, height;
    std::vector<uint32_t> expected;  // bottom row first
};

void checkPixels(const std::vector<PixelCase>& cases)
{
    for (const PixelCase& c : cases) {
        Decoded d = loadBytes(bmp::build(c.file));
        ASSERT_TRUE(d.ok) << c.name << ": " << d.err;
        EXPECT_EQ(d.err, "") << c.name;
        EXPECT_EQ(d.width, c.width) << c.name;
        EXPECT_EQ(d.height, c.height) << c.name;
        EXPECT_EQ(d.rgb, rgb(c.expected)) << c.name;
    }
}

TEST(BitmapLoader, TwentyFourBitRowsArePackedBottomRowFirst)
{
    Decoded d = loadBytes(bmp::build(layout(2, 2, 24, row(bgr(0x0000FF) + bgr(0x00FF00)) + row(bgr(0xFF0000) + bgr(0xFFFFFF)))));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 2);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.rgb, bytes({0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));

    const std::vector<uint32_t> five = ramp(10, 1);
    std::string fiveRows;
    for (int y = 0; y < 2; ++y) {
        std::string r;
        for (int x = 0; x < 5; ++x)
            r += bgr(five[size_t(y * 5 + x)]);
        fiveRows += r + "\xEE";  // the 16th byte of each stored row is padding
    }
    checkPixels({
        {"width 5: rows of 15 bytes", layout(5, 2, 24, fiveRows), 5, 2, five},
        {"1 by 1", layout(1, 1, 24, row(bgr(0x123456))), 1, 1, {0x123456}},
        // Padding is never read, so the last row's may be missing.
        {"last row without its padding", layout(2, 2, 24, row(bgr(0x0000FF) + bgr(0x00FF00)) + bgr(0xFF0000) + bgr(0xFFFFFF)),
         2, 2, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}},
        {"no file header: pixels right after the header", with(layout(2, 1, 24, row(bgr(0xABCDEF) + bgr(0x010203))),
                                                               [](bmp::Layout& s) { s.fileHeader = false; }),
         2, 1, {0xABCDEF, 0x010203}},
        {"bytes between header and pixels", with(layout(1, 1, 24, row(bgr(0x445566))), [](bmp::Layout& s) { s.gap = 6; }),
         1, 1, {0x445566}},
        {"file size field ignored", with(layout(1, 1, 24, row(bgr(0x445566))), [](bmp::Layout& s) { s.fileSizeField = 7; }),
         1, 1, {0x445566}},
        {"image size field ignored", with(layout(1, 1, 24, row(bgr(0x445566))), [](bmp::Layout& s) { s.sizeImage = 99999; }),
         1, 1, {0x445566}},
        {"top-down", layout(2, -2, 24, row(bgr(0xFF0000) + bgr(0xFFFFFF)) + row(bgr(0x0000FF) + bgr(0x00FF00))), 2, 2,
         {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}},
    });
}

TEST(BitmapLoader, PalettedImagesUseTheCountedEntries)
{
    checkPixels({
        {"1 bit, width 10, unused bits set",
         with(layout(10, 2, 1, row({0xB2, 0xFF}) + row({0x4D, 0x00})), [](bmp::Layout& s) { s.palette = {0x102030, 0xA0B0C0}; }),
         10, 2,
         {0xA0B0C0, 0x102030, 0xA0B0C0, 0xA0B0C0, 0x102030, 0x102030, 0xA0B0C0, 0x102030, 0xA0B0C0, 0xA0B0C0,
          0x102030, 0xA0B0C0, 0x102030, 0x102030, 0xA0B0C0, 0xA0B0C0, 0x102030, 0xA0B0C0, 0x102030, 0x102030}},
        {"4 bit, 3 colours used, index beyond them is black",
         with(layout(3, 2, 4, row({0x01, 0x2F}) + row({0x25, 0x10})),
              [](bmp::Layout& s) { s.clrUsed = 3, s.palette = {0x112233, 0x445566, 0x778899}; }),
         3, 2, {0x112233, 0x445566, 0x778899, 0x778899, kBlack, 0x445566}},
        {"4 bit, full palette", with(layout(4, 1, 4, row({0xF0, 0x9A})), [](bmp::Layout& s) { s.palette = kPal16; }), 4, 1,
         {kPal16[15], kPal16[0], kPal16[9], kPal16[10]}},
        {"8 bit, colours used 0 means 256 entries",
         with(layout(3, 1, 8, row({0, 255, 128})), [](bmp::Layout& s) { s.palette = kPal256; }), 3, 1,
         {kPal256[0], kPal256[255], kPal256[128]}},
        {"8 bit, 20 colours used, no file header: pixels 40 + 80 bytes in",
         with(layout(3, 1, 8, row({19, 20, 0})),
              [](bmp::Layout& s) { s.fileHeader = false, s.clrUsed = 20, s.palette.assign(kPal256.begin(), kPal256.begin() + 20); }),
         3, 1, {kPal256[19], kBlack, kPal256[0]}},
        {"8 bit top-down", with(layout(1, -2, 8, row({1}) + row({2})), [](bmp::Layout& s) { s.palette = kPal256; }), 1, 2,
         {kPal256[2], kPal256[1]}},
        {"core header, 8 bit, no file header: 256 three-byte entries",
         with(layout(2, 1, 8, row({7, 200})),
              [](bmp::Layout& s) { s.fileHeader = false, s.headerSize = 12, s.palette = kPal256; }),
         2, 1, {kPal256[7], kPal256[200]}},
        {"core header, 1 bit", with(layout(3, 1, 1, row({0x40})), [](bmp::Layout& s) { s.headerSize = 12, s.palette = {0x0000FF, 0xFFFF00}; }),
         3, 1, {0x0000FF, 0xFFFF00, 0x0000FF}},
        {"core header, 24 bit", with(layout(1, 2, 24, row(bgr(0x010203)) + row(bgr(0x040506))), [](bmp::Layout& s) { s.headerSize = 12; }),
         1, 2, {0x010203, 0x040506}},
    });
}

TEST(BitmapLoader, CoreHeaderSizesAreUnsigned)
{
    // 40000 reads as negative if taken as a signed 16-bit field.
    bmp::Layout s = layout(40000, 1, 1, std::string(5000, '\x80'));
    s.headerSize = 12;
    s.palette = {0x000000, 0xFFFFFF};
    Decoded d = loadBytes(bmp::build(s), 40000);  // over the default side limit
    ASSERT_TRUE(d.ok) << d.err;
    EXPECT_EQ(d.width, 40000);
    EXPECT_EQ(d.height, 1);
    for (int x : {0, 1, 7, 8, 39992, 39999})
        EXPECT_EQ(d.rgb.substr(size_t(x) * 3, 3), rgb({x % 8 ? 0x000000u : 0xFFFFFFu})) << x;
}

TEST(BitmapLoader, SixteenAndThirtyTwoBitPixels)
{
    auto fields = [](bmp::Layout s, std::vector<uint32_t> masks) {
        s.compression = 3;
        s.masks = std::move(masks);
        return s;
    };
    checkPixels({
        // 5 bits of 16 repeat into 8: 0b10000 -> 0b10000100.
        {"16 bit without bit fields is 5-5-5, top bit ignored",
         layout(4, 1, 16, le16s({0xFC00, 0x03E0, 0x001F, 0x4210})), 4, 1, {0xFF0000, 0x00FF00, 0x0000FF, 0x848484}},
        {"16 bit fields 5-6-5", fields(layout(4, 1, 16, le16s({0xF800, 0x07E0, 0x001F, 0x8410})), {0xF800, 0x07E0, 0x001F}), 4, 1,
         {0xFF0000, 0x00FF00, 0x0000FF, 0x848284}},
        {"16 bit fields 4-4-4", fields(layout(2, 1, 16, le16s({0x0F00, 0xFA50})), {0x0F00, 0x00F0, 0x000F}), 2, 1,
         {0xFF0000, 0xAA5500}},
        {"16 bit fields, no file header: pixels after the masks",
         with(fields(layout(2, 1, 16, le16s({0x0F00, 0x0A50})), {0x0F00, 0x00F0, 0x000F}), [](bmp::Layout& s) { s.fileHeader = false; }),
         2, 1, {0xFF0000, 0xAA5500}},
        {"32 bit without bit fields is blue, green, red, unused",
         layout(2, 1, 32, bytes({0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0x00})), 2, 1, {0x332211, 0x665544}},
        {"32 bit fields, red in the top byte", fields(layout(1, 1, 32, le32s({0x11223344})), {0xFF000000, 0x00FF0000, 0x0000FF00}), 1, 1,
         {0x112233}},
        {"32 bit fields 10-10-10 keep the top 8 bits",
         fields(layout(1, 1, 32, le32s({0x3FFu << 20 | 0x200u << 10 | 0x001u})), {0x3FF00000, 0x000FFC00, 0x000003FF}), 1, 1,
         {0xFF8000}},
        {"32 bit fields, top-down",
         fields(layout(1, -2, 32, le32s({0x00FF0000, 0x000000FF})), {0x00FF0000, 0x0000FF00, 0x000000FF}), 1, 2,
         {0x0000FF, 0xFF0000}},
    });
}

TEST(BitmapLoader, RunLengthEncodedPixels)
{
    auto rle = [](int width, int height, int bitCount, std::string stream, std::vector<uint32_t> palette, uint32_t used = 0) {
        bmp::Layout s = layout(width, height, bitCount, std::move(stream));
        s.compression = bitCount == 8 ? 1 : 2;
        s.palette = std::move(palette);
        s.clrUsed = used;
        return s;
    };
    const auto& p = kPal16;
    checkPixels({
        {"RLE8 run, end of line, absolute run with padding, delta, end of bitmap",
         rle(4, 3, 8, bytes({3, 1, 0, 0, /**/ 0, 3, 2, 3, 0, 0, 1, 1, 0, 0, /**/ 0, 2, 2, 0, 1, 3, 0, 1}), kPal256, 0), 4, 3,
         {kPal256[1], kPal256[1], kPal256[1], kBlack, kPal256[2], kPal256[3], kPal256[0], kPal256[1], kBlack, kBlack,
          kPal256[3], kBlack}},
        {"RLE8 delta to the next row, run clipped at the row end, no end of bitmap after the last row",
         rle(3, 3, 8, bytes({2, 1, 0, 2, 0, 1, 1, 2, 0, 0, 5, 3, 0, 0}), {0x101010, 0x202020, 0x303030, 0x404040}, 4), 3, 3,
         {0x202020, 0x202020, kBlack, kBlack, kBlack, 0x303030, 0x404040, 0x404040, 0x404040}},
        {"RLE8 early end of bitmap leaves the rest black, index beyond the count is black",
         rle(2, 2, 8, bytes({1, 1, 1, 9, 0, 1}), {0x101010, 0x202020}, 2), 2, 2, {0x202020, kBlack, kBlack, kBlack}},
        {"RLE4 alternating run, absolute run, end of bitmap",
         rle(5, 2, 4, bytes({5, 0x12, 0, 0, /**/ 0, 3, 0x34, 0x50, 2, 0x67, 0, 1}), p), 5, 2,
         {p[1], p[2], p[1], p[2], p[1], p[3], p[4], p[5], p[6], p[7]}},
        {"RLE4 odd absolute run padded to a word",
         rle(6, 1, 4, bytes({0, 5, 0x12, 0x34, 0x5F, 0x00, 1, 0x9A, 0, 1}), p), 6, 1, {p[1], p[2], p[3], p[4], p[5], p[9]}},
        {"RLE4 delta", rle(4, 2, 4, bytes({0, 2, 1, 1, 2, 0xAB, 0, 1}), p), 4, 2,
         {kBlack, kBlack, kBlack, kBlack, kBlack, p[10], p[11], kBlack}},
    });
}

TEST(BitmapLoader, PaletteEntryCount)
{
    struct Case { const char* name; uint32_t headerSize; uint16_t bitCount; uint32_t used; uint16_t count; } cases[] = {
        {"core 1 bit", 12, 1, 0, 2},      {"core 4 bit", 12, 4, 0, 16},     {"core 8 bit", 12, 8, 0, 256},
        {"core 24 bit", 12, 24, 0, 0},    {"info 1 bit", 40, 1, 0, 2},      {"info 4 bit", 40, 4, 0, 16},
        {"info 8 bit", 40, 8, 0, 256},    {"info 16 bit", 40, 16, 0, 0},    {"info 24 bit", 40, 24, 0, 0},
        {"info 32 bit", 40, 32, 0, 0},    {"colours used 20", 40, 8, 20, 20}, {"colours used on 24 bit", 40, 24, 3, 3},
        {"colours used keeps 16 bits", 40, 8, 65536 + 5, 5},
    };
    for (const Case& c : cases) {
        bmp::Layout s = layout(1, 1, c.bitCount, "");
        s.fileHeader = false;
        s.headerSize = c.headerSize;
        s.clrUsed = c.used;
        std::string header = bmp::build(s);
        EXPECT_EQ(paletteEntryCount(reinterpret_cast<const unsigned char*>(header.data())), c.count) << c.name;
    }
}

TEST(BitmapLoader, BrokenFilesGetOneMessageAndNoImage)
{
    // Every message but the unknown header's names the file.
    const std::string kUnknown = "Unknown DIB file format.";
    const std::string named = tempDir() + "/image.bmp: ";
    const std::string kConversion = named + "Image file conversion error.";
    const std::string kMemory = named + "Out of memory.";
    auto tooLarge = [&](const char* size, int side = kMaxBitmapSide) {
        return named + "Image too large: " + size + " pixels, at most " + std::to_string(side) + " a side.";
    };
    const std::string good24 = bmp::build(layout(4, 2, 24, std::string(24, '\x40')));
    const std::string pal8NoFileHeader = bmp::build(with(layout(1, 1, 8, row({0})), [](bmp::Layout& s) {
        s.fileHeader = false, s.palette = kPal256;
    }));
    const std::string core8 = bmp::build(with(layout(1, 1, 8, row({0})), [](bmp::Layout& s) {
        s.fileHeader = false, s.headerSize = 12, s.palette = kPal256;
    }));
    const std::string fields16 = bmp::build(with(layout(2, 1, 16, le16s({1, 2})), [](bmp::Layout& s) {
        s.compression = 3, s.masks = {0xF800, 0x07E0, 0x001F};
    }));
    auto sized = [](int32_t w, int32_t h, int bpp = 24) { return bmp::build(layout(w, h, bpp, std::string(16, '\0'))); };
    auto compressed = [](uint32_t compression, int bpp, int height = 1, std::string pixels = std::string(16, '\0')) {
        return bmp::build(with(layout(4, height, bpp, std::move(pixels)), [&](bmp::Layout& s) {
            s.compression = compression;
            if (bpp <= 8)
                s.palette = {0xFFFFFF};
            s.clrUsed = bpp <= 8 ? 1 : 0;
            if (compression == 3)
                s.masks = {0xF0, 0x0F, 0xF00};
        }));
    };
    struct Case { const char* name; std::string file; std::string message; int32_t sideLimit = kMaxBitmapSide; } cases[] = {
        {"header size 108", bmp::build(with(layout(1, 1, 24, row(bgr(1))), [](bmp::Layout& s) { s.headerSize = 108; })), kUnknown},
        {"header size 124", bmp::build(with(layout(1, 1, 24, row(bgr(1))), [](bmp::Layout& s) { s.headerSize = 124; })), kUnknown},
        {"header size 64", bmp::build(with(layout(1, 1, 24, row(bgr(1))), [](bmp::Layout& s) { s.headerSize = 64; })), kUnknown},
        {"header size 0", std::string(60, '\0'), kUnknown},
        {"just BM", "BM", kUnknown},
        {"shorter than the file header", good24.substr(0, 13), kUnknown},
        {"only the file header", good24.substr(0, 14), kUnknown},
        {"info header cut short", good24.substr(0, 14 + 39), kUnknown},
        {"three bytes", "abc", kUnknown},
        {"core header cut short", core8.substr(0, 11), kUnknown},
        {"colour entries beyond the end", pal8NoFileHeader.substr(0, 40 + 4 * 255), kConversion},
        {"core colour entries beyond the end", core8.substr(0, 12 + 3 * 255 + 2), kConversion},
        {"bit-field masks beyond the end", fields16.substr(0, 14 + 40 + 8), kConversion},
        {"pixel data one byte short", good24.substr(0, good24.size() - 1), kConversion},
        {"no pixel data", good24.substr(0, 54), kConversion},
        {"pixel offset past the end",
         bmp::build(with(layout(1, 1, 24, row(bgr(1))), [](bmp::Layout& s) { s.pixelOffset = 14 + 40 + 5; })), kConversion},
        {"pixel offset 0xFFFFFFFF",
         bmp::build(with(layout(1, 1, 24, row(bgr(1))), [](bmp::Layout& s) { s.pixelOffset = 0xFFFFFFFF; })), kConversion},
        {"width 0", sized(0, 1), kMemory},
        {"height 0", sized(1, 0), kMemory},
        {"negative width", sized(-4, 1), named + "Image width -4 is negative."},
        {"20000 by 20000", sized(20000, 20000), tooLarge("20000 by 20000")},
        {"width 0x7FFFFFFF", sized(0x7FFFFFFF, 1), tooLarge("2147483647 by 1")},
        {"width times 3 overflows 32 bits", sized(0x55555556, 1), tooLarge("1431655766 by 1")},
        {"height -2^31", sized(1, INT32_MIN), named + "Image height -2147483648 is out of range."},
        {"one row over 256 MiB", sized(1, (64 << 20) + 1), tooLarge("1 by 67108865")},
        {"core 65535 by 65535", bmp::build(with(layout(65535, 65535, 24, ""), [](bmp::Layout& s) { s.headerSize = 12; })),
         tooLarge("65535 by 65535")},
        {"exactly 256 MiB", sized(1, 64 << 20), tooLarge("1 by 67108864")},
        {"top-down, 8193 rows", sized(1, -8193), tooLarge("1 by 8193")},
        // The longest sides allowed fail only later, for want of pixel data.
        {"8192 wide", sized(8192, 1), kConversion},
        {"8192 high", sized(1, 8192), kConversion},
        // A smaller limit, as GL_MAX_TEXTURE_SIZE may set it.
        {"width 4097 under a limit of 4096", sized(4097, 1), tooLarge("4097 by 1", 4096), 4096},
        {"height 4096 under a limit of 4096", sized(1, 4096), kConversion, 4096},
        {"JPEG compression", compressed(4, 24), kConversion},
        {"PNG compression", compressed(5, 24), kConversion},
        {"unknown compression", compressed(7, 24), kConversion},
        {"compression 0x80000000", compressed(0x80000000, 24), kConversion},
        {"0 bits per pixel", sized(1, 1, 0), kConversion},
        {"2 bits per pixel", sized(1, 1, 2), kConversion},
        {"7 bits per pixel", sized(1, 1, 7), kConversion},
        {"64 bits per pixel", sized(1, 1, 64), kConversion},
        {"RLE8 at 4 bits", compressed(1, 4), kConversion},
        {"RLE4 at 8 bits", compressed(2, 8), kConversion},
        {"bit fields at 24 bits", compressed(3, 24), kConversion},
        {"bit fields at 8 bits", compressed(3, 8), kConversion},
        {"non-contiguous mask", bmp::build(with(layout(1, 1, 16, row({0, 0})), [](bmp::Layout& s) {
             s.compression = 3, s.masks = {0xF00F, 0x00F0, 0x0F00};
         })), kConversion},
        {"top-down RLE8", compressed(1, 8, -1, bytes({0, 1})), kConversion},
        {"RLE8 ends before the image", compressed(1, 8, 2, bytes({4, 0, 0, 0})), kConversion},
        {"RLE8 odd byte at the end", compressed(1, 8, 1, bytes({4, 0, 1})), kConversion},
        {"RLE8 absolute run past the end", compressed(1, 8, 1, bytes({0, 4, 0, 0, 0})), kConversion},
        {"RLE4 absolute run padding past the end", compressed(2, 4, 1, bytes({0, 5, 0x12, 0x34, 0x50})), kConversion},
        {"RLE8 delta past the end", compressed(1, 8, 1, bytes({0, 2, 1})), kConversion},
    };
    for (const Case& c : cases) {
        Decoded d = loadBytes(c.file, c.sideLimit);
        EXPECT_FALSE(d.ok) << c.name;
        EXPECT_EQ(d.err, "Error: " + c.message + "\n") << c.name;
    }

    // The byte limit, which only a caller's lower one brings within the side
    // limit: 341 rows of 1024 pixels (3072 bytes) fit in 1 MiB, 342 do not.
    for (int rows : {341, 342}) {
        const std::string file = sized(1024, rows);
        std::string err;
        EXPECT_EQ(decodeBitmap(reinterpret_cast<const unsigned char*>(file.data()), file.size(), &err, 1 << 20), nullptr);
        EXPECT_EQ(err, rows == 341 ? "Image file conversion error." : "Image too large: 1024 by 342 pixels, over 1 MiB decoded.");
    }
}

TEST(BitmapLoader, FilesThatCannotBeOpenedNameTheFile)
{
    const std::string empty = writeTemp("empty.bmp", "");
    const std::string longName = tempDir() + "/" + std::string(300, 'n') + ".bmp";
    for (const std::string& path : {tempDir() + "/metal004.bmp", empty, tempDir(), longName}) {
        Decoded d = loadPath(path);
        EXPECT_FALSE(d.ok) << path;
        EXPECT_EQ(d.err, "Error: Failed to open DIB file " + path + ".\n");
    }
}

// The page decodes the bytes it fetched: it must say what the file reader
// says about the same bytes read from a file of that name.
TEST(BitmapLoader, FetchedBytesDecodeAsTheFileReaderReadsThem)
{
    const std::string good = bmp::build(layout(2, 1, 24, row(bgr(0x010203) + bgr(0x040506))));
    const std::string newer = bmp::build(with(layout(1, 1, 24, row(bgr(1))), [](bmp::Layout& s) { s.headerSize = 124; }));
    for (const std::string& content : {good, newer, good.substr(0, 20), std::string()}) {
        const std::string path = writeTemp("fetched.bmp", content);
        std::string fileErr, bytesErr;
        RgbImage* fromFile = readBitmapFile(path.c_str(), &fileErr);
        RgbImage* fromBytes = decodeBitmapFile(path.c_str(), reinterpret_cast<const unsigned char*>(content.data()),
                                               content.size(), &bytesErr);
        ASSERT_EQ(fromFile != nullptr, fromBytes != nullptr) << content.size();
        if (fromFile) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(fromBytes->data), size_t(fromBytes->width) * 3),
                      std::string(reinterpret_cast<char*>(fromFile->data), size_t(fromFile->width) * 3));
        } else {
            EXPECT_EQ(bytesErr, fileErr) << content.size();
        }
        freeRgbImage(fromFile);
        freeRgbImage(fromBytes);
    }
    std::string err;
    EXPECT_EQ(decodeBitmapFile("SteelBoxFan.bmp", nullptr, 0, &err), nullptr);
    EXPECT_EQ(err, "Failed to open DIB file SteelBoxFan.bmp.\n");
}

TEST(MessageBox, WritesCaptionAndOneLineToStderrWithoutAWindow)
{
    for (const char* text : {"Out of memory.", "Failed to open DIB file a.bmp.\n"}) {
        testing::internal::CaptureStderr();
        showMessageBox(text, "Error");
        std::string line = std::string("Error: ") + text;
        if (line.back() != '\n')
            line += '\n';
        EXPECT_EQ(testing::internal::GetCapturedStderr(), line);
    }
}

TEST(MazetoolDecode, WritesPpmTopRowFirst)
{
    const std::string in = writeTemp("in.bmp", bmp::build(layout(2, 3, 24,
        row(bgr(0x0000FF) + bgr(0x00FF00)) + row(bgr(0x010203) + bgr(0x040506)) + row(bgr(0xFF0000) + bgr(0xFFFFFF)))));
    const std::string out = tempDir() + "/out.ppm";
    ToolRun r = runTool("decode '" + in + "' '" + out + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(out), "P6\n2 3\n255\n" + rgb({0xFF0000, 0xFFFFFF, 0x010203, 0x040506, 0x0000FF, 0x00FF00}));
}

TEST(MazetoolDecode, FailuresAndUsage)
{
    const std::string out = tempDir() + "/never.ppm";
    const std::string missing = tempDir() + "/missing.bmp";
    ToolRun r = runTool("decode '" + missing + "' '" + out + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "mazetool: decode: \"" + missing + "\" can not be opened: No such file or directory\n");

    const std::string broken = writeTemp("broken.bmp", bmp::build(with(layout(1, 1, 24, row(bgr(1))), [](bmp::Layout& s) { s.headerSize = 124; })));
    r = runTool("decode '" + broken + "' '" + out + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Error: Unknown DIB file format.\n");
    struct stat st;
    EXPECT_NE(stat(out.c_str(), &st), 0) << "no output after a failed decode";

    const std::string good = writeTemp("good.bmp", bmp::build(layout(1, 1, 24, row(bgr(1)))));
    r = runTool("decode '" + good + "' '" + tempDir() + "/no/such/dir.ppm'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;

    for (const char* args : {"decode", "decode a.bmp", "decode a.bmp b.ppm c", "decode --fast a.bmp b.ppm"}) {
        r = runTool(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.err.find("mazetool: decode:"), std::string::npos) << args << ": " << r.err;
    }
}

}  // namespace
