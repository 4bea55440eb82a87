#include "icon/png_writer.h"

#include <algorithm>

#include "bmp_writer.h"

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

uint32_t crc32(const uint8_t* bytes, size_t n)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(std::vector<uint8_t>& out, const char type[5], const std::vector<uint8_t>& data)
{
    put32(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(&out[typeAt], out.size() - typeAt));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> z = {0x78, 0x01};
    const size_t kBlock = 65535;
    size_t at = 0;
    do {
        const size_t n = std::min(kBlock, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);  // BFINAL, BTYPE 00
        z.insert(z.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;  // Adler-32
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(z, b << 16 | a);
    return z;
}

}  // namespace

std::vector<uint8_t> encodePngRgba(int width, int height, const std::vector<uint8_t>& rgba)
{
    if (width <= 0 || height <= 0 || width > 1 << 14 || height > 1 << 14 ||
        rgba.size() != size_t(width) * size_t(height) * 4)
        return {};
    std::vector<uint8_t> header;
    put32(header, uint32_t(width));
    put32(header, uint32_t(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filters, no interlace

    std::vector<uint8_t> rows;
    const size_t rowBytes = size_t(width) * 4;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        rows.insert(rows.end(), rgba.begin() + long(y * rowBytes), rgba.begin() + long((y + 1) * rowBytes));
    }

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlibStored(rows));
    putChunk(out, "IEND", {});
    return out;
}

bool writePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba)
{
    const std::vector<uint8_t> bytes = encodePngRgba(width, height, rgba);
    return !bytes.empty() && writeBytes(path, bytes);
}
