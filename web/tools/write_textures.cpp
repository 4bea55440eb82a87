// Writes the seven shipped textures into a folder: the same art and writer
// as `mazetool textures`, built for node so the web build needs no native compiler.
#include <cstdio>
#include <string>

#include "bmp_writer.h"
#include "bitmap/textures.h"
#include "texture_art.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_textures DIR\n");
        return 2;
    }
    for (int slot = 0; slot < kTextureCount; ++slot) {
        const std::string path = std::string(argv[1]) + "/" + g_textureFiles[slot];
        if (!writeBmp24(path, kTextureArtSize, kTextureArtSize, drawTextureArt(slot))) {
            std::fprintf(stderr, "write_textures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
