#include "bitmap/bitmap_pixels.h"

#include <algorithm>
#include <cstring>

namespace {

// One colour channel of a 16- or 32-bit pixel.
struct Channel {
    uint32_t mask;
    int shift;
    int bits;
};

// False for a mask whose set bits are not contiguous.
bool makeChannel(uint32_t mask, Channel& c)
{
    c = Channel{mask, 0, 0};
    if (!mask)
        return true;
    while (!(mask & 1)) {
        mask >>= 1;
        ++c.shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++c.bits;
    }
    return mask == 0;
}

// Scales the channel to 8 bits: narrower fields repeat their bits (so the
// largest value becomes 255), wider ones keep their top 8 bits.
unsigned char channelValue(uint32_t pixel, const Channel& c)
{
    if (!c.bits)
        return 0;
    uint32_t v = (pixel & c.mask) >> c.shift;
    if (c.bits >= 8)
        return (unsigned char)(v >> (c.bits - 8));
    uint32_t out = 0;
    int have = 0;
    for (; have < 8; have += c.bits)
        out = (out << c.bits) | v;
    return (unsigned char)(out >> (have - 8));
}

bool convertPlain(const DibSource& s, unsigned char* target, uint64_t stride, uint32_t rows)
{
    const int bpp = s.bitCount;
    const uint32_t width = uint32_t(s.width);
    const uint64_t srcStride = (uint64_t(bpp) * width + 31) / 32 * 4;
    const uint64_t pixelBytes = (uint64_t(bpp) * width + 7) / 8;  // of a row, without its padding
    if (s.bitsSize < pixelBytes || rows - 1 > (s.bitsSize - pixelBytes) / srcStride)
        return false;

    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 16-bit without bit fields: 5-5-5
    if (bpp == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (s.compression == kBiBitfields)
        std::memcpy(masks, s.masks, sizeof masks);
    Channel ch[3];
    for (int i = 0; i < 3; ++i)
        if (!makeChannel(masks[i], ch[i]))
            return false;

    // One loop per pixel format, chosen once per row: a choice per pixel
    // made start-up texture decoding several times slower.
    for (uint32_t y = 0; y < rows; ++y) {
        const unsigned char* src = s.bits + y * srcStride;
        unsigned char* dst = target + (s.height < 0 ? rows - 1 - y : y) * stride;
        switch (bpp) {
        case 1:
            for (uint32_t x = 0; x < width; ++x, dst += 3)
                std::memcpy(dst, s.palette[(src[x >> 3] >> (7 - (x & 7))) & 1], 3);
            break;
        case 4:
            for (uint32_t x = 0; x < width; ++x, dst += 3)
                std::memcpy(dst, s.palette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 15], 3);
            break;
        case 8:
            for (uint32_t x = 0; x < width; ++x, dst += 3)
                std::memcpy(dst, s.palette[src[x]], 3);
            break;
        case 24: std::memcpy(dst, src, size_t(width) * 3); break;
        default:
            for (uint32_t x = 0; x < width; ++x, dst += 3) {
                const uint32_t pixel = bpp == 16 ? uint32_t(src[2 * x]) | uint32_t(src[2 * x + 1]) << 8
                                                 : uint32_t(src[4 * x]) | uint32_t(src[4 * x + 1]) << 8 |
                                                       uint32_t(src[4 * x + 2]) << 16 | uint32_t(src[4 * x + 3]) << 24;
                dst[0] = channelValue(pixel, ch[2]);
                dst[1] = channelValue(pixel, ch[1]);
                dst[2] = channelValue(pixel, ch[0]);
            }
        }
    }
    return true;
}

// RLE8 / RLE4: pairs of (count, value) runs, or an escape (0, code): 0 end of
// line, 1 end of bitmap, 2 delta (dx, dy follow), 3..255 an absolute run of
// that many pixels padded to a 16-bit boundary. Pixels outside the image are
// dropped; running out of data before the image is complete fails.
bool convertRle(const DibSource& s, unsigned char* target, uint64_t stride, uint32_t rows)
{
    const bool rle4 = s.compression == kBiRle4;
    const uint32_t width = uint32_t(s.width);
    const unsigned char* p = s.bits;
    const unsigned char* end = s.bits + s.bitsSize;
    uint32_t x = 0, y = 0;
    auto put = [&](unsigned index) {
        if (x < width)
            std::memcpy(target + y * stride + 3 * uint64_t(x++), s.palette[index], 3);
    };
    while (y < rows) {
        if (end - p < 2)
            return false;
        const unsigned count = p[0], value = p[1];
        p += 2;
        if (count) {
            for (unsigned i = 0; i < count; ++i)
                put(rle4 ? (i & 1 ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (end - p < 2)
                return false;
            x = std::min(x + p[0], width);
            y += p[1];
            p += 2;
        } else {
            const size_t bytes = rle4 ? (value + 1) / 2 : value;
            if (size_t(end - p) < ((bytes + 1) & ~size_t(1)))
                return false;
            for (unsigned i = 0; i < value; ++i)
                put(rle4 ? (i & 1 ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
            p += (bytes + 1) & ~size_t(1);
        }
    }
    return true;
}

}  // namespace

int convertDib(const DibSource& s, unsigned char* target)
{
    if (s.width <= 0 || s.height == 0 || s.height == INT32_MIN)
        return 0;
    const uint32_t rows = uint32_t(s.height < 0 ? -s.height : s.height);
    const uint64_t stride = dibTargetStride(s.width);
    bool ok = false;
    switch (s.compression) {
    case kBiRgb:
        ok = (s.bitCount == 1 || s.bitCount == 4 || s.bitCount == 8 || s.bitCount == 16 || s.bitCount == 24 ||
              s.bitCount == 32) && convertPlain(s, target, stride, rows);
        break;
    case kBiBitfields:
        ok = (s.bitCount == 16 || s.bitCount == 32) && convertPlain(s, target, stride, rows);
        break;
    case kBiRle8:
    case kBiRle4:
        // Compressed bitmaps are bottom-up only.
        ok = s.bitCount == (s.compression == kBiRle8 ? 8 : 4) && s.height > 0 &&
             convertRle(s, target, stride, rows);
        break;
    default:  // JPEG, PNG and anything unknown
        break;
    }
    return ok ? int(rows) : 0;
}
