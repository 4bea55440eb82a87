// Writes the site's pictures, drawn from the program's own texture art by
// the desktop icon's code: the app icons at 192 and 512 pixels (the rounded
// icon), a maskable one at 512 (the view to the edges, for a launcher to cut
// its own shape from), and preview.png, the view a shared link shows
// (1200 x 630, the link previews' usual shape). Built for node.
#include <cstdio>
#include <string>

#include "icon/icon_view.h"
#include "icon/png_writer.h"

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
    return 0;
}
