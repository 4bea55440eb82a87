// Writes the site's two lists of the textures: texture_files.js, their names
// in slot order as an ES module, so the page can start on them before its
// program has loaded; and textures.json, the files of its own a site walls
// its mazes in, none at first (the page draws the shipped textures from the
// program's art). Built for node so the web build needs no native compiler.
#include <cstdio>
#include <string>
#include <vector>

#include "bitmap/textures.h"
#include "bmp_writer.h"

namespace {

// Writes `text` to DIR/name; false (said on stderr) when it cannot.
bool writeText(const std::string& dir, const char* name, const std::string& text)
{
    const std::string path = dir + "/" + name;
    const bool written = writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    if (!written)
        std::fprintf(stderr, "write_texture_lists: cannot write %s\n", path.c_str());
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_texture_lists DIR\n");
        return 2;
    }
    std::string names = "// The textures' files in slot order, written by the build.\nexport default [";
    for (int slot = 0; slot < kTextureCount; ++slot)
        names += std::string(slot ? ", " : "") + "'" + g_textureFiles[slot] + "'";
    names += "];\n";
    return writeText(argv[1], "texture_files.js", names) && writeText(argv[1], "textures.json", "{\"files\": []}\n")
        ? 0 : 1;
}
