// mazetool decode: shows a texture author what the program's own loader makes of a bitmap.
#include <cstdio>
#include <strings.h>

#include "commands.h"
#include "bitmap/bitmap_decode.h"
#include "bitmap/file_map.h"

namespace {

// Whether `name` ends in ".ppm", in any case: the only format decode writes.
bool namesPpm(const std::string& name)
{
    return name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".ppm") == 0;
}

}  // namespace

int decodeCommand(const Args& args)
{
    const SplitArgs split = splitArgs(args);
    if (!split.options.empty())
        return usageError("decode: unknown option '" + split.options[0] + "'");
    if (split.operands.size() != 2)
        return usageError("decode: expected IN.bmp OUT.ppm");
    const std::string& in = split.operands[0];
    const std::string& outName = split.operands[1];
    if (!namesPpm(outName))
        return usageError("decode: " + quotedName(outName) + " does not end in .ppm: decode writes a PPM");

    const std::string why = whyUnreadable(in);
    if (!why.empty()) {
        std::fprintf(stderr, "mazetool: decode: %s can not be opened: %s\n", quotedName(in).c_str(), why.c_str());
        return 1;
    }
    // The loader's own messages, naming the file as mazetool prints names.
    std::string err;
    MappedFile file{nullptr, 0};
    const bool mapped = mapFile(in.c_str(), file);
    RgbImage* image = decodeBitmapFile(quotedName(in).c_str(), mapped ? file.data : nullptr, mapped ? file.size : 0, &err);
    if (mapped)
        unmapFile(file);
    if (!image) {
        // The line the program writes beside its message box.
        std::fprintf(stderr, "Error: %s%s", err.c_str(), !err.empty() && err.back() == '\n' ? "" : "\n");
        return 1;
    }
    bool ok = false;
    if (std::FILE* out = std::fopen(outName.c_str(), "wb")) {
        std::fprintf(out, "P6\n%d %d\n255\n", int(image->width), int(image->height));
        const size_t rowBytes = size_t(image->width) * 3;
        ok = true;
        // PPM runs top row first; the image holds the bottom row first.
        for (int32_t y = image->height - 1; y >= 0 && ok; --y)
            ok = std::fwrite(image->data + size_t(y) * rowBytes, 1, rowBytes, out) == rowBytes;
        ok = std::fclose(out) == 0 && ok;
    }
    freeRgbImage(image);
    if (!ok) {
        std::fprintf(stderr, "mazetool: cannot write %s\n", quotedName(outName).c_str());
        return 1;
    }
    return 0;
}
