#include "render/bitmap_loader.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/dib_convert.h"
#include "platform/file_map.h"
#include "platform/message_box.h"

size_t g_bitmapByteLimit = size_t(256) << 20;

namespace {

const char* const kOutOfMemory = "Out of memory.";
const char* const kUnknownFormat = "Unknown DIB file format.";
const char* const kConversionError = "Image file conversion error.";

uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Decodes the file's bytes. Returns null with `image` set, or the failure
// message; whatever was allocated is left in `target`/`pixels` for the caller
// to release after showing the message.
const char* decode(const unsigned char* file, size_t size, unsigned char*& target, unsigned char*& pixels,
                   RgbImage*& image)
{
    // "BM" announces the optional 14-byte file header, which gives the pixel offset.
    size_t at = 0;
    size_t pixelsAt = SIZE_MAX;  // still open: follows the colour entries
    if (size >= 2 && file[0] == 'B' && file[1] == 'M') {
        if (size < 14)
            return kUnknownFormat;
        pixelsAt = le32(file + 10);
        at = 14;
    }
    if (size - at < 4)
        return kUnknownFormat;
    const unsigned char* header = file + at;
    const uint32_t headerSize = le32(header);
    if ((headerSize != 40 && headerSize != 12) || size - at < headerSize)
        return kUnknownFormat;

    // Bring either header kind into the information-header form.
    DibSource source;
    std::memset(&source, 0, sizeof source);
    DibInfoHeader& h = source.header;
    const uint16_t count = paletteEntryCount(header);
    size_t entrySize = 4;
    size_t paletteAt = at + headerSize;
    if (headerSize == 40) {
        h = DibInfoHeader{40, int32_t(le32(header + 4)), int32_t(le32(header + 8)), le16(header + 12),
                          le16(header + 14), le32(header + 16), le32(header + 20), int32_t(le32(header + 24)),
                          int32_t(le32(header + 28)), le32(header + 32), le32(header + 36)};
        if (h.compression == kBiBitfields) {
            // The red, green and blue masks follow the header, ahead of any colour entries.
            if (size - paletteAt < 12)
                return kConversionError;
            for (int i = 0; i < 3; ++i)
                source.masks[i] = le32(file + paletteAt + 4 * i);
            paletteAt += 12;
        }
    } else {
        h = DibInfoHeader{40, le16(header + 4), le16(header + 6), le16(header + 8), le16(header + 10), kBiRgb, 0, 0,
                          0, count, count};
        entrySize = 3;
    }
    const size_t paletteBytes = size_t(count) * entrySize;
    if (size - paletteAt < paletteBytes)
        return kConversionError;
    // Entries past 256 can never be indexed; entries not stored stay black.
    for (size_t i = 0; i < count && i < 256; ++i)
        std::memcpy(source.palette[i], file + paletteAt + i * entrySize, 3);
    if (pixelsAt == SIZE_MAX)
        pixelsAt = paletteAt + paletteBytes;
    if (pixelsAt > size)
        return kConversionError;
    if (h.sizeImage == 0)  // unsigned 32-bit arithmetic on purpose: the field is informational
        h.sizeImage = (uint32_t(h.bitCount) * uint32_t(h.width) + 7) / 8 * uint32_t(h.height);
    if (h.clrUsed == 0)
        h.clrUsed = count;

    // The 24-bit conversion target, checked before it is allocated.
    if (h.width <= 0 || h.height == 0)
        return kOutOfMemory;
    const uint64_t rows = uint64_t(h.height < 0 ? -int64_t(h.height) : int64_t(h.height));
    const uint64_t stride = dibTargetStride(h.width);
    if (rows > g_bitmapByteLimit / stride)
        return kOutOfMemory;
    target = static_cast<unsigned char*>(std::calloc(size_t(stride * rows), 1));
    if (!target)
        return kOutOfMemory;

    source.bits = file + pixelsAt;
    source.bitsSize = size - pixelsAt;
    if (convertDib(source, target) == 0)
        return kConversionError;

    // Blue, green, red rows padded to 4 bytes become packed red, green, blue rows.
    const size_t rowBytes = size_t(h.width) * 3;
    pixels = static_cast<unsigned char*>(std::malloc(rowBytes * rows));
    if (!pixels)
        return kOutOfMemory;
    for (uint64_t y = 0; y < rows; ++y) {
        // Distinct buffers: telling the compiler so lets it vectorise the swap.
        const unsigned char* __restrict src = target + y * stride;
        unsigned char* __restrict dst = pixels + y * rowBytes;
        for (size_t i = 0; i < rowBytes; i += 3) {
            dst[i] = src[i + 2];
            dst[i + 1] = src[i + 1];
            dst[i + 2] = src[i];
        }
    }
    image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (!image)
        return kOutOfMemory;
    *image = RgbImage{h.width, int32_t(rows), pixels};
    pixels = nullptr;  // owned by the record now
    return nullptr;
}

}  // namespace

uint16_t paletteEntryCount(const unsigned char* header)
{
    unsigned bitCount;
    if (le32(header) == 12) {
        bitCount = le16(header + 10);
    } else {
        const uint32_t used = le32(header + 32);
        if (used)
            return uint16_t(used);
        bitCount = le16(header + 14);
    }
    return bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
}

RgbImage* decodeBitmapBuffer(const unsigned char* bytes, size_t size)
{
    unsigned char* target = nullptr;
    unsigned char* pixels = nullptr;
    RgbImage* image = nullptr;
    if (const char* error = decode(bytes, size, target, pixels, image))
        showMessageBox(error, "Error");  // while everything is still held, as the user sees it
    std::free(pixels);
    std::free(target);
    return image;
}

RgbImage* loadBitmapImage(const char* fileName)
{
    if (!fileName)
        fileName = "";
    MappedFile file;
    if (!mapFile(fileName, file)) {
        const std::string message = std::string("Failed to open DIB file ") + fileName + ".\n";
        showMessageBox(message.c_str(), "Error");
        return nullptr;
    }
    RgbImage* image = decodeBitmapBuffer(file.data, file.size);
    unmapFile(file);
    return image;
}

void freeRgbImage(RgbImage* image)
{
    if (image)
        std::free(image->data);
    std::free(image);
}
