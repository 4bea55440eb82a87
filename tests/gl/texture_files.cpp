#include "texture_files.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bmp_writer.h"
#include "render/texture_set.h"
#include "texture_art.h"

Rgb8 slotColour(int slot)
{
    static const Rgb8 kColours[kTextureCount] = {
        {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 255, 255}, {255, 0, 255}, {255, 255, 0},
    };
    return kColours[slot];
}

std::string makeTextureFolder(int skipSlot)
{
    char tmpl[] = "/tmp/maze_textures_XXXXXX";
    std::string dir = mkdtemp(tmpl);
    for (int slot = 0; slot < kTextureCount; ++slot) {
        if (slot == skipSlot)
            continue;
        Rgb8 c = slotColour(slot);
        std::vector<uint8_t> px;
        for (int i = 0; i < 4 * 4; ++i)
            px.insert(px.end(), {c.r, c.g, c.b});
        writeBmp24(dir + "/" + g_textureFiles[slot], 4, 4, px);
    }
    return dir;
}

std::string makeShippedTextureFolder()
{
    char tmpl[] = "/tmp/maze_textures_XXXXXX";
    std::string dir = mkdtemp(tmpl);
    for (int slot = 0; slot < kTextureCount; ++slot)
        writeBmp24(dir + "/" + g_textureFiles[slot], kTextureArtSize, kTextureArtSize, drawTextureArt(slot));
    return dir;
}

void removeFolder(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
