// Writes the seven shipped textures into a folder: the same art and writer
// as `mazetool textures`, built for node so the web build needs no native
// compiler. Beside them goes texture_files.js, the textures' names in slot
// order as an ES module, so the page can fetch them before its program has
// loaded.
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
    const std::string list = std::string(argv[1]) + "/texture_files.js";
    std::FILE* names = std::fopen(list.c_str(), "w");
    if (!names) {
        std::fprintf(stderr, "write_textures: cannot write %s\n", list.c_str());
        return 1;
    }
    std::fprintf(names, "// The textures' files in slot order, written by the build.\nexport default [");
    for (int slot = 0; slot < kTextureCount; ++slot)
        std::fprintf(names, "%s'%s'", slot ? ", " : "", g_textureFiles[slot]);
    std::fprintf(names, "];\n");
    std::fclose(names);
    for (int slot = 0; slot < kTextureCount; ++slot) {
        const std::string path = std::string(argv[1]) + "/" + g_textureFiles[slot];
        if (!writeBmp24(path, kTextureArtSize, kTextureArtSize, drawTextureArt(slot))) {
            std::fprintf(stderr, "write_textures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
