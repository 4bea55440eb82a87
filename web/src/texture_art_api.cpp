// The shipped textures drawn in the page from the program's own art, so that
// none of their bytes travel: each is drawn as the very file `mazetool
// textures` writes and loaded through the same decoder as a fetched file.
#include <emscripten/emscripten.h>

#include <vector>

#include "bitmap/textures.h"
#include "bmp_writer.h"
#include "texture_art.h"

namespace {

std::vector<uint8_t> g_file;  // the last texture file drawn, read by JavaScript

}  // namespace

extern "C" {

// Draws the shipped texture of a slot as its bitmap file's bytes, kept until
// the next call; returns their address (null for no such slot), and
// web_texture_art_size their count.
EMSCRIPTEN_KEEPALIVE const unsigned char* web_texture_art(int slot)
{
    g_file.clear();
    if (slot < 0 || slot >= kTextureCount)
        return nullptr;
    g_file = encodeBmp24(kTextureArtSize, kTextureArtSize, drawTextureArt(slot));
    return g_file.data();
}

EMSCRIPTEN_KEEPALIVE int web_texture_art_size()
{
    return int(g_file.size());
}

}  // extern "C"
