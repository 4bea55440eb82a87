#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "gl_context.h"
#include "bitmap/bitmap_decode.h"
#include "render/bitmap_loader.h"
#include "render/texture_set.h"
#include "temp_file.h"
#include "bitmap/mipmaps.h"

namespace {

// The web renderer uploads the mipmap levels it builds itself (WebGL has no
// GLU); they must be the levels the desktop's gluScaleImage and
// gluBuild2DMipmaps make from the same bitmap.
TEST(TexturePyramidTest, LevelsMatchTheDesktopUpload)
{
    GlContext gl;
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    struct Case { int width, height, tolerance; } cases[] = {
        {8, 8, 0}, {16, 4, 0}, {1, 1, 0},     // powers of two: only halving
        {100, 60, 1}, {5, 3, 1}, {33, 200, 1}, // rescaled first: GLU rounds a few sums the other way
    };
    std::srand(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        // Rows of noise and smooth gradients: both box filters and edges show.
        std::vector<uint8_t> rgb(size_t(c.width) * c.height * 3);
        for (size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = (i / 3 / c.width) % 2 ? uint8_t(std::rand()) : uint8_t(i * 7 / 3);
        std::vector<uint8_t> bmp = encodeBmp24(c.width, c.height, rgb);
        TempFile file(std::string(bmp.begin(), bmp.end()));

        unsigned int textures[1] = {0};
        ASSERT_TRUE(loadTexture(textures, file.path.c_str(), 0));
        std::string err;
        RgbImage* image = decodeBitmap(bmp.data(), bmp.size(), &err);
        ASSERT_NE(image, nullptr) << err;
        GLint maxSide = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
        const std::vector<MipLevel> levels = buildMipmaps(*image, maxSide);
        freeRgbImage(image);

        glBindTexture(GL_TEXTURE_2D, textures[0]);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        GLint desktopLevels = 0;
        for (GLint w = 1; w > 0; ++desktopLevels)
            glGetTexLevelParameteriv(GL_TEXTURE_2D, desktopLevels, GL_TEXTURE_WIDTH, &w);
        EXPECT_EQ(size_t(desktopLevels - 1), levels.size());
        for (size_t i = 0; i < levels.size(); ++i) {
            GLint w = 0, h = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, GLint(i), GL_TEXTURE_WIDTH, &w);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, GLint(i), GL_TEXTURE_HEIGHT, &h);
            ASSERT_EQ(w, levels[i].width) << "level " << i;
            ASSERT_EQ(h, levels[i].height) << "level " << i;
            std::vector<uint8_t> desktop(size_t(w) * h * 3);
            glGetTexImage(GL_TEXTURE_2D, GLint(i), GL_RGB, GL_UNSIGNED_BYTE, desktop.data());
            int worst = 0, differing = 0;
            for (size_t k = 0; k < desktop.size(); ++k) {
                worst = std::max(worst, std::abs(desktop[k] - levels[i].rgb[k]));
                differing += desktop[k] != levels[i].rgb[k];
            }
            EXPECT_LE(worst, c.tolerance) << "level " << i << ", " << differing << " of " << desktop.size() << " differ";
        }
        glDeleteTextures(1, textures);
    }
}

}  // namespace
