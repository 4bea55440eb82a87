// Writes the site's pictures, drawn from the program's own texture art by
// the desktop icon's code: the app icons at 192 and 512 pixels (the rounded
// icon), a maskable one at 512 (the view to the edges, for a launcher to cut
// its own shape from), and preview.png, the view a shared link shows
// (1200 x 630, the link previews' usual shape). Also small_textures.bin,
// the shipped textures at 32 pixels a side that the page's first view is
// drawn with while it draws the full ones: seven 24-bit bitmap files back
// to back, in slot order, each the average of the full texture's 8 by 8
// pixel blocks. Built for node.
#include <cstdio>
#include <string>

#include "bitmap/textures.h"
#include "bmp_writer.h"
#include "icon/icon_view.h"
#include "icon/png_writer.h"
#include "texture_art.h"

namespace {

const int kSmallSide = 32;

// The art of every slot shrunk to kSmallSide, as bitmap files back to back.
std::vector<uint8_t> smallTextures()
{
    const int block = kTextureArtSize / kSmallSide;
    std::vector<uint8_t> files;
    for (int slot = 0; slot < kTextureCount; ++slot) {
        const std::vector<uint8_t> art = drawTextureArt(slot);
        std::vector<uint8_t> small;
        for (int y = 0; y < kSmallSide; ++y)
            for (int x = 0; x < kSmallSide; ++x)
                for (int c = 0; c < 3; ++c) {
                    int sum = 0;
                    for (int dy = 0; dy < block; ++dy)
                        for (int dx = 0; dx < block; ++dx)
                            sum += art[(size_t(y * block + dy) * kTextureArtSize + size_t(x * block + dx)) * 3 +
                                       size_t(c)];
                    small.push_back(uint8_t((sum + block * block / 2) / (block * block)));
                }
        const std::vector<uint8_t> file = encodeBmp24(kSmallSide, kSmallSide, small);
        files.insert(files.end(), file.begin(), file.end());
    }
    return files;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_app_pictures DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    struct Picture {
        const char* name;
        int width, height;
        bool rounded;
    };
    const Picture pictures[] = {
        {"icon-192.png", 192, 192, true},
        {"icon-512.png", 512, 512, true},
        {"icon-maskable-512.png", 512, 512, false},
        {"preview.png", 1200, 630, false},
    };
    for (const Picture& p : pictures) {
        const std::string path = dir + "/" + p.name;
        const std::vector<uint8_t> rgba = p.rounded ? drawIconView(p.width) : drawFullView(p.width, p.height);
        if (!writePngRgba(path, p.width, p.height, rgba)) {
            std::fprintf(stderr, "write_app_pictures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const std::string small = dir + "/small_textures.bin";
    if (!writeBytes(small, smallTextures())) {
        std::fprintf(stderr, "write_app_pictures: cannot write %s\n", small.c_str());
        return 1;
    }
    return 0;
}
