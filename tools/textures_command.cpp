// mazetool textures: writes the shipped texture bitmaps, painted by texture_art.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "bmp_writer.h"
#include "commands.h"
#include "bitmap/textures.h"
#include "texture_art.h"

int texturesCommand(const Args& args)
{
    std::string dir;
    if (int usage = singleOperand(args, "textures", "directory", dir))
        return usage;

    std::error_code error;
    const bool created = std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "mazetool: cannot create directory %s: %s\n", quotedName(dir).c_str(),
                     error.message().c_str());
        return 1;
    }
    if (created)
        std::printf("created directory %s\n", quotedName(dir).c_str());
    for (int slot = 0; slot < kTextureCount; ++slot) {
        std::string path = (std::filesystem::path(dir) / g_textureFiles[slot]).string();
        if (!writeBmp24(path, kTextureArtSize, kTextureArtSize, drawTextureArt(slot))) {
            std::fprintf(stderr, "mazetool: cannot write %s\n", quotedName(path).c_str());
            return 1;
        }
        std::printf("wrote %s\n", quotedName(path).c_str());
    }
    return 0;
}
