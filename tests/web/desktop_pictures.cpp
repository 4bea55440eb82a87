// The desktop program's picture at a series of poses, for the web page's
// comparison test: the real start-up (viewInit) and renderer (drawLevel) on
// the headless GL context, driven by the real keyboard callback.
//
//   desktop_pictures [--show-exits] DIR OUT KEYS...
// loads maze1.dat and the textures from DIR (the exits marked as the
// program's --show-exits marks them, if given), then for each KEYS argument
// types its keys one after the other (each motion played to its end; "-"
// types none) and writes the 500 by 500 picture to OUT.N.ppm, N counting from 0.
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/keyboard.h"
#include "app/main2.h"
#include "app/walker.h"
#include "gl_context.h"
#include "render/maze_renderer.h"

int main(int argc, char** argv)
{
    if (argc > 1 && !std::strcmp(argv[1], "--show-exits")) {
        g_showExits = true;
        --argc;
        ++argv;
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: desktop_pictures [--show-exits] DIR OUT KEYS...\n");
        return 2;
    }
    const int side = 500;
    GlContext gl(side, side);
    if (!gl.ok() || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "desktop_pictures: no GL context or no folder %s\n", argv[1]);
        return 1;
    }
    viewInit();
    reshape(side, side);
    for (int pose = 3; pose < argc; ++pose) {
        for (const char* key = argv[pose]; *key; ++key) {
            if (*key == '-')
                continue;
            keyboardHandler((unsigned char)*key, 0, 0);
            while (g_movement != Idle)
                updateMovement();
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawLevel();
        glFinish();
        const std::vector<uint8_t> rgba = gl.readPixels();  // bottom row first
        const std::string path = std::string(argv[2]) + "." + std::to_string(pose - 3) + ".ppm";
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out)
            return 1;
        std::fprintf(out, "P6\n%d %d\n255\n", side, side);
        for (int y = side - 1; y >= 0; --y)
            for (int x = 0; x < side; ++x)
                std::fwrite(&rgba[(size_t(y) * side + x) * 4], 1, 3, out);
        std::fclose(out);
    }
    return 0;
}
