// maze_icons DIR: writes the program's icon at each size of the hicolor set
// into DIR/hicolor/NxN/apps/maze.png. Run by the build.
#include <cstdio>
#include <filesystem>
#include <string>

#include "icon/icon_view.h"
#include "icon/png_writer.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: maze_icons DIR\n");
        return 2;
    }
    for (int size : {48, 64, 128, 256}) {
        const std::string side = std::to_string(size);
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / "hicolor" / (side + "x" + side) / "apps";
        std::error_code error;
        std::filesystem::create_directories(dir, error);
        const std::string path = (dir / "maze.png").string();
        if (error || !writePngRgba(path, size, size, drawIconView(size))) {
            std::fprintf(stderr, "maze_icons: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
