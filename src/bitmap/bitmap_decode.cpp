#include "bitmap/bitmap_decode.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "bitmap/file_map.h"
#include "bitmap/bitmap_pixels.h"

namespace {

const char* const kOutOfMemory = "Out of memory.";
const char* const kUnknownFormat = "Unknown DIB file format.";
const char* const kConversionError = "Image file conversion error.";

uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool fail(std::string* err, std::string message)
{
    *err = std::move(message);
    return false;
}

// Why the declared size (`rows` being |height|) is refused before anything is
// allocated, or "" when it is not. A width or height of 0 is left to "Out of memory.".
std::string sizeError(const DibSource& source, uint64_t rows, size_t byteLimit, int32_t sideLimit)
{
    if (source.width < 0)
        return "Image width " + std::to_string(source.width) + " is negative.";
    // A negative height means top-down rows, but this one cannot be turned.
    if (source.height == INT32_MIN)
        return "Image height " + std::to_string(source.height) + " is out of range.";
    const std::string size = std::to_string(source.width) + " by " + std::to_string(rows) + " pixels";
    if (source.width > sideLimit || rows > uint64_t(sideLimit))
        return "Image too large: " + size + ", at most " + std::to_string(sideLimit) + " a side.";
    if (source.width > 0 && rows > byteLimit / dibTargetStride(source.width))
        return "Image too large: " + size + ", over " + std::to_string(byteLimit >> 20) + " MiB decoded.";
    return "";
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<unsigned char, FreeDeleter>;

}  // namespace

bool parseBitmap(const unsigned char* file, size_t size, DibSource* source, std::string* err)
{
    // "BM" announces the optional 14-byte file header, which gives the pixel offset.
    size_t at = 0;
    size_t pixelsAt = SIZE_MAX;  // still open: follows the colour entries
    if (size >= 2 && file[0] == 'B' && file[1] == 'M') {
        if (size < 14)
            return fail(err, kUnknownFormat);
        pixelsAt = le32(file + 10);
        at = 14;
    }
    if (size - at < 4)
        return fail(err, kUnknownFormat);
    const unsigned char* header = file + at;
    const uint32_t headerSize = le32(header);
    if ((headerSize != 40 && headerSize != 12) || size - at < headerSize)
        return fail(err, kUnknownFormat);

    DibSource& s = *source;
    std::memset(&s, 0, sizeof s);
    const uint16_t count = paletteEntryCount(header);
    size_t entrySize = 4;
    size_t paletteAt = at + headerSize;
    if (headerSize == 40) {
        s.width = int32_t(le32(header + 4));
        s.height = int32_t(le32(header + 8));
        s.bitCount = le16(header + 14);
        s.compression = le32(header + 16);
        if (s.compression == kBiBitfields) {
            // The red, green and blue masks follow the header, ahead of any colour entries.
            if (size - paletteAt < 12)
                return fail(err, kConversionError);
            for (int i = 0; i < 3; ++i)
                s.masks[i] = le32(file + paletteAt + 4 * i);
            paletteAt += 12;
        }
    } else {
        s.width = le16(header + 4);
        s.height = le16(header + 6);
        s.bitCount = le16(header + 10);
        s.compression = kBiRgb;
        entrySize = 3;
    }
    const size_t paletteBytes = size_t(count) * entrySize;
    if (size - paletteAt < paletteBytes)
        return fail(err, kConversionError);
    // Entries past 256 can never be indexed; entries not stored stay black.
    for (size_t i = 0; i < count && i < 256; ++i)
        std::memcpy(s.palette[i], file + paletteAt + i * entrySize, 3);
    if (pixelsAt == SIZE_MAX)
        pixelsAt = paletteAt + paletteBytes;
    if (pixelsAt > size)
        return fail(err, kConversionError);
    s.bits = file + pixelsAt;
    s.bitsSize = size - pixelsAt;
    return true;
}

RgbImage* decodeBitmap(const unsigned char* bytes, size_t size, std::string* err, size_t byteLimit,
                       int32_t sideLimit)
{
    DibSource source;
    if (!parseBitmap(bytes, size, &source, err))
        return nullptr;

    // The 24-bit conversion target, checked before it is allocated.
    const uint64_t rows = uint64_t(source.height < 0 ? -int64_t(source.height) : int64_t(source.height));
    std::string refused = sizeError(source, rows, byteLimit, sideLimit);
    if (!refused.empty()) {
        *err = std::move(refused);
        return nullptr;
    }
    const uint64_t stride = dibTargetStride(source.width);
    Buffer target;
    if (stride > 0 && rows > 0)
        target.reset(static_cast<unsigned char*>(std::calloc(size_t(stride * rows), 1)));
    if (!target) {
        *err = kOutOfMemory;
        return nullptr;
    }
    if (convertDib(source, target.get()) == 0) {
        *err = kConversionError;
        return nullptr;
    }

    // Blue, green, red rows padded to 4 bytes become packed red, green, blue rows.
    const size_t rowBytes = size_t(source.width) * 3;
    Buffer pixels(static_cast<unsigned char*>(std::malloc(rowBytes * rows)));
    RgbImage* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (!pixels || !image) {
        std::free(image);
        *err = kOutOfMemory;
        return nullptr;
    }
    for (uint64_t y = 0; y < rows; ++y) {
        // Distinct buffers: telling the compiler so lets it vectorise the swap.
        const unsigned char* __restrict src = target.get() + y * stride;
        unsigned char* __restrict dst = pixels.get() + y * rowBytes;
        for (size_t i = 0; i < rowBytes; i += 3) {
            dst[i] = src[i + 2];
            dst[i + 1] = src[i + 1];
            dst[i + 2] = src[i];
        }
    }
    *image = RgbImage{source.width, int32_t(rows), pixels.release()};
    return image;
}

RgbImage* readBitmapFile(const char* fileName, std::string* err, int32_t sideLimit)
{
    MappedFile file;
    if (!mapFile(fileName, file))
        return decodeBitmapFile(fileName, nullptr, 0, err, sideLimit);
    RgbImage* image = decodeBitmapFile(fileName, file.data, file.size, err, sideLimit);
    unmapFile(file);
    return image;
}

RgbImage* decodeBitmapFile(const char* fileName, const unsigned char* bytes, size_t size, std::string* err,
                           int32_t sideLimit)
{
    if (!bytes || size == 0) {
        *err = std::string("Failed to open DIB file ") + fileName + ".\n";
        return nullptr;
    }
    RgbImage* image = decodeBitmap(bytes, size, err, kMaxBitmapBytes, sideLimit);
    // Name the texture that failed; a header the loader does not read keeps its bare line.
    if (!image && *err != kUnknownFormat)
        *err = std::string(fileName) + ": " + *err;
    return image;
}

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

void freeRgbImage(RgbImage* image)
{
    if (image)
        std::free(image->data);
    std::free(image);
}
