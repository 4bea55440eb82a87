#include "icon/png_writer.h"

// stb_image_write's PNG encoder (Debian's libstb-dev), compiled here only.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "bmp_writer.h"

namespace {

void append(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> encodePngRgba(int width, int height, const std::vector<uint8_t>& rgba)
{
    if (width <= 0 || height <= 0 || rgba.size() != size_t(width) * size_t(height) * 4)
        return {};
    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(append, &png, width, height, 4, rgba.data(), width * 4))
        return {};
    return png;
}

bool writePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba)
{
    const std::vector<uint8_t> png = encodePngRgba(width, height, rgba);
    return !png.empty() && writeBytes(path, png);
}
