// mazetool decode: shows a texture author what the program's own loader makes of a bitmap.
#include <cstdio>

#include "commands.h"
#include "bitmap/bitmap_decode.h"

int decodeCommand(const Args& args)
{
    for (const std::string& a : args)
        if (a.size() > 1 && a[0] == '-')
            return usageError("decode: unknown option '" + a + "'");
    if (args.size() != 2)
        return usageError("decode: expected IN.bmp OUT.ppm");

    std::string err;
    RgbImage* image = readBitmapFile(args[0].c_str(), &err);
    if (!image) {
        // The line the program writes beside its message box.
        std::fprintf(stderr, "Error: %s%s", err.c_str(), !err.empty() && err.back() == '\n' ? "" : "\n");
        return 1;
    }
    bool ok = false;
    if (std::FILE* out = std::fopen(args[1].c_str(), "wb")) {
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
        std::fprintf(stderr, "mazetool: cannot write %s\n", args[1].c_str());
        return 1;
    }
    return 0;
}
