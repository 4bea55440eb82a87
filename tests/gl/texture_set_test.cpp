#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "bmp_writer.h"
#include "gl_context.h"
#include "app/main2.h"
#include "render/bitmap_loader.h"
#include "render/texture_set.h"
#include "texture_files.h"

namespace {

class TextureSetTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ok()) << "no headless GL context";
        for (unsigned int& t : g_textures)
            t = 0;
    }
    void TearDown() override
    {
        for (const std::string& d : {dir, dir2})
            if (!d.empty())
                removeFolder(d);
    }

    // Level-0 pixels of a texture, bottom row first, RGB.
    std::vector<unsigned char> image(unsigned int texture, int& w, int& h)
    {
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        std::vector<unsigned char> px(size_t(w) * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    GlContext gl;
    std::string dir, dir2;
};

TEST_F(TextureSetTest, SevenMipmappedTexturesInSlotOrder)
{
    dir = makeTextureFolder();
    for (int i = 0; i < kTextureCount; ++i)
        loadTexture(g_textures, (dir + "/" + g_textureFiles[i]).c_str(), i);
    for (int i = 0; i < kTextureCount; ++i) {
        SCOPED_TRACE("slot " + std::to_string(i));
        ASSERT_TRUE(glIsTexture(g_textures[i]));
        if (i > 0) {
            EXPECT_GT(g_textures[i], g_textures[i - 1]) << "generated in slot order";
        }
        int w, h;
        auto px = image(g_textures[i], w, h);
        EXPECT_EQ(w, 4);
        EXPECT_EQ(h, 4);
        Rgb8 want = slotColour(i);
        EXPECT_EQ(px[0], want.r);
        EXPECT_EQ(px[1], want.g);
        EXPECT_EQ(px[2], want.b);
        GLint smallest = 0, minFilter = 0, magFilter = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &smallest);
        EXPECT_EQ(smallest, 1) << "full mipmap chain";
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
        EXPECT_EQ(magFilter, GL_LINEAR);
    }
}

TEST_F(TextureSetTest, AnyWidthLoadsWithoutShearingTheRows)
{
    // Widths whose rows are not a multiple of 4 bytes, and sides that are not
    // powers of two (the width alone, or both): bottom half blue, top half red.
    const int sizes[][2] = {{6, 2}, {5, 3}, {6, 4}, {320, 256}, {64, 48}, {1, 1}, {8, 2}};
    char tmpl[] = "/tmp/maze_tex_XXXXXX";
    dir = mkdtemp(tmpl);
    for (auto [w, h] : sizes) {
        std::vector<uint8_t> px;  // top row first
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                px.insert(px.end(), {uint8_t(y < h / 2 ? 255 : 0), 0, uint8_t(y < h / 2 ? 0 : 255)});
        std::string path = dir + "/t.bmp";
        ASSERT_TRUE(writeBmp24(path, w, h, px));
        loadTexture(g_textures, path.c_str(), 0);
        int tw, th;
        auto tex = image(g_textures[0], tw, th);
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        EXPECT_EQ(tw & (tw - 1), 0) << "power-of-two width";
        EXPECT_EQ(th & (th - 1), 0) << "power-of-two height";
        // Rescaling may blend the rows next to the middle, never lose or shear them.
        auto isColour = [&](size_t at, int r, int b) {
            return std::abs(tex[at] - r) < 40 && tex[at + 1] == 0 && std::abs(tex[at + 2] - b) < 40;
        };
        EXPECT_TRUE(isColour(0, 0, 255)) << "bottom-left not blue";
        size_t topRight = (size_t(th) * tw - 1) * 3;
        if (h > 1) {
            EXPECT_TRUE(isColour(topRight, 255, 0)) << "top-right not red";
        }
    }
}

TEST_F(TextureSetTest, NullNameDoesNothing)
{
    loadTexture(g_textures, nullptr, 3);
    EXPECT_EQ(g_textures[3], 0u);
}

TEST_F(TextureSetTest, AMissingFileEndsTheProgramWithCodeOneAfterTheMessage)
{
    // The GL driver runs threads: the dying child must be a fresh process, not a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    dir = makeTextureFolder(3);
    // Start-up's texture loop: the loader tells why, levelInit ends the program.
    auto startUp = [this] {
        std::FILE* f = std::fopen((dir + "/maze1.dat").c_str(), "wb");
        std::fputs("rrr\nr*x\nrrr\n", f);
        std::fclose(f);
        if (chdir(dir.c_str()) == 0)
            levelInit();
    };
    // The loader's line first, unchanged, then where textures come from.
    std::string want = "^Error: Failed to open DIB file pipeslightswires\\.bmp\\.\n"
                       "The textures are read from the working directory\\.\n"
                       "'mazetool textures DIR' writes them into DIR[^\n]*\n$";
    EXPECT_EXIT(startUp(), testing::ExitedWithCode(1), want);
    // Slots before the missing one load, the missing one reports failure.
    dir2 = makeTextureFolder(3);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(loadTexture(g_textures, (dir2 + "/" + g_textureFiles[i]).c_str(), i)) << i;
    EXPECT_FALSE(loadTexture(g_textures, (dir2 + "/" + g_textureFiles[3]).c_str(), 3));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file " + dir2 + "/pipeslightswires.bmp.\n");
}

}  // namespace
