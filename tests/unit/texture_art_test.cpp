// mazetool textures: the shipped texture art, checked through the files the real tool writes.
#include <gtest/gtest.h>


#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "render/bitmap_loader.h"
#include "render/texture_set.h"
#include "tool_run.h"

namespace fs = std::filesystem;

namespace {

fs::path freshDir()
{
    char path[] = "/tmp/texture_art_test_XXXXXX";
    EXPECT_NE(mkdtemp(path), nullptr);
    return path;
}

uint32_t le(const std::string& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | uint8_t(b[at + size_t(i)]);
    return v;
}

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // top row first
    int at(int x, int y, int c) const { return rgb[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(c)]; }
};

// Checks every header field of an uncompressed bottom-up 24-bit bitmap and reads its pixels.
testing::AssertionResult parseBmp(const std::string& b, Image& image)
{
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return testing::AssertionFailure() << "no BM file header";
    int32_t width = int32_t(le(b, 18, 4)), height = int32_t(le(b, 22, 4));
    const uint32_t fields[][3] = {
        {2, 4, uint32_t(b.size())}, {6, 4, 0}, {10, 4, 54}, {14, 4, 40}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
    };
    for (auto& f : fields)
        if (le(b, f[0], int(f[1])) != f[2])
            return testing::AssertionFailure() << "field at " << f[0] << " is " << le(b, f[0], int(f[1]))
                                               << ", expected " << f[2];
    if (width <= 0 || height <= 0)
        return testing::AssertionFailure() << "size " << width << "x" << height;
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    if (b.size() != 54 + stride * size_t(height))
        return testing::AssertionFailure() << "file size " << b.size() << " does not fit the pixels";
    image.width = width;
    image.height = height;
    image.rgb.clear();
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            for (int c = 2; c >= 0; --c)
                image.rgb.push_back(uint8_t(b[54 + size_t(y) * stride + size_t(x) * 3 + size_t(c)]));
    return testing::AssertionSuccess();
}

// The textures as the tool writes them, made once per test process.
struct Shipped {
    fs::path dir = freshDir();
    Shipped()
    {
        ToolRun r = runTool("textures " + dir.string());
        EXPECT_EQ(r.code, 0) << r.err;
    }
    ~Shipped() { fs::remove_all(dir); }
};

const fs::path& shippedDir()
{
    static Shipped shipped;
    return shipped.dir;
}

std::vector<Image> shippedImages()
{
    std::vector<Image> images(kTextureCount);
    for (int i = 0; i < kTextureCount; ++i)
        EXPECT_TRUE(parseBmp(readFile(shippedDir() / g_textureFiles[i]), images[size_t(i)])) << g_textureFiles[i];
    return images;
}

// Mean absolute channel difference between pixel columns (or rows) a and b.
double lineDiff(const Image& im, bool columns, int a, int b)
{
    double sum = 0;
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            sum += columns ? std::abs(im.at(a, i, c) - im.at(b, i, c)) : std::abs(im.at(i, a, c) - im.at(i, b, c));
    return sum / (256 * 3);
}

TEST(TexturesCommand, WritesSeven256By256BitmapsIntoANewDirectory)
{
    fs::path dir = freshDir() / "nested" / "run";
    ToolRun r = runTool("textures " + dir.string());
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::set<std::string> expected(g_textureFiles, g_textureFiles + kTextureCount), written;
    for (const auto& entry : fs::directory_iterator(dir))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, expected);
    std::istringstream out(r.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), size_t(kTextureCount) + 1) << r.out;
    EXPECT_EQ(lines[0], "created directory \"" + dir.string() + "\"");
    for (int i = 0; i < kTextureCount; ++i) {
        EXPECT_NE(lines[size_t(i) + 1].find(g_textureFiles[i]), std::string::npos) << lines[size_t(i) + 1];
        Image im;
        EXPECT_TRUE(parseBmp(readFile(dir / g_textureFiles[i]), im)) << g_textureFiles[i];
        EXPECT_EQ(im.width, 256) << g_textureFiles[i];
        EXPECT_EQ(im.height, 256) << g_textureFiles[i];
    }
    fs::remove_all(dir.parent_path().parent_path());
}

TEST(TexturesCommand, RefusesBadArgumentsAndReportsWriteFailures)
{
    fs::path scratch = freshDir();
    std::ofstream(scratch / "plain-file") << "x";
    fs::create_directories(scratch / "blocked" / "metal004.bmp");  // a directory where a file must go
    struct Case {
        const char* name;
        std::string args;
        int code;
    } cases[] = {
        {"no directory", "textures", 2},
        {"two directories", "textures " + (scratch / "a").string() + " " + (scratch / "b").string(), 2},
        {"unknown option", "textures --size=64 " + (scratch / "c").string(), 2},
        {"directory is a file", "textures " + (scratch / "plain-file").string(), 1},
        {"path below a file", "textures " + (scratch / "plain-file" / "sub").string(), 1},
        {"file cannot be written", "textures " + (scratch / "blocked").string(), 1},
    };
    for (const Case& c : cases) {
        ToolRun r = runTool(c.args);
        EXPECT_EQ(r.code, c.code) << c.name;
        EXPECT_NE(r.err, "") << c.name;
        if (c.code == 2) {
            EXPECT_EQ(r.out, "") << c.name;
        }
    }
    EXPECT_FALSE(fs::exists(scratch / "a") || fs::exists(scratch / "b") || fs::exists(scratch / "c"));
    fs::remove_all(scratch);
}

TEST(TextureArt, TwoRunsWriteTheSameBytes)
{
    fs::path again = freshDir();
    ASSERT_EQ(runTool("textures " + again.string()).code, 0);
    for (int i = 0; i < kTextureCount; ++i) {
        std::string first = readFile(shippedDir() / g_textureFiles[i]);
        EXPECT_FALSE(first.empty());
        EXPECT_TRUE(first == readFile(again / g_textureFiles[i])) << g_textureFiles[i];
    }
    fs::remove_all(again);
}

// The shipped textures are part of every picture the GL and page tests compare
// and of the drawings kept in browsers' caches: a faster art must draw the
// same bytes. Each file's FNV-1a hash, pinned when the art was made.
TEST(TextureArt, DrawsTheSameBytesAsEver)
{
    const uint32_t pinned[kTextureCount] = {0x46ee64b3, 0x1c3c0505, 0x32e10ea4, 0x98c6d567,
                                            0x5a88b199, 0x3d8c7316, 0x368fcb62};
    for (int i = 0; i < kTextureCount; ++i) {
        uint32_t h = 0x811c9dc5u;
        for (char c : readFile(shippedDir() / g_textureFiles[i]))
            h = (h ^ uint8_t(c)) * 0x01000193u;
        EXPECT_EQ(h, pinned[i]) << g_textureFiles[i];
    }
}

// The floor repeats 2x2 on every cell and walls stand side by side, so the jump
// across each wrap-around edge must look like the steps just beside it.
TEST(TextureArt, EveryTextureTilesSeamlessly)
{
    std::vector<Image> images = shippedImages();
    ASSERT_FALSE(HasFailure());
    for (int i = 0; i < kTextureCount; ++i)
        for (bool columns : {true, false}) {
            const Image& im = images[size_t(i)];
            double seam = lineDiff(im, columns, 255, 0);
            double beside = (lineDiff(im, columns, 253, 254) + lineDiff(im, columns, 254, 255) +
                             lineDiff(im, columns, 0, 1) + lineDiff(im, columns, 1, 2)) / 4;
            EXPECT_LE(seam, 2 * beside + 2) << g_textureFiles[i] << (columns ? " left/right" : " top/bottom");
        }
}

TEST(TextureArt, TexturesHaveDetailAndDifferFromEachOther)
{
    std::vector<Image> images = shippedImages();
    ASSERT_FALSE(HasFailure());
    for (int i = 0; i < kTextureCount; ++i) {
        double sum = 0, sum2 = 0;
        for (size_t p = 0; p < images[size_t(i)].rgb.size(); p += 3) {
            const uint8_t* px = &images[size_t(i)].rgb[p];
            double luma = 0.3 * px[0] + 0.59 * px[1] + 0.11 * px[2];
            sum += luma;
            sum2 += luma * luma;
        }
        double n = 256.0 * 256.0, spread = std::sqrt(sum2 / n - (sum / n) * (sum / n));
        EXPECT_GT(spread, 12) << g_textureFiles[i];
        for (int j = 0; j < i; ++j) {
            double diff = 0;
            for (size_t p = 0; p < images[size_t(i)].rgb.size(); ++p)
                diff += std::abs(images[size_t(i)].rgb[p] - images[size_t(j)].rgb[p]);
            EXPECT_GT(diff / double(images[size_t(i)].rgb.size()), 20) << g_textureFiles[i] << " " << g_textureFiles[j];
        }
    }
}

// Each wall leans toward its cell's colour (r, g, b, c, m, y), so players can
// tell the wall kinds apart: its mean colour's hue is nearest to that one.
TEST(TextureArt, WallsLeanTowardTheColourOfTheirCell)
{
    const double hues[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
    auto chroma = [](const double c[3], double out[3]) {
        double mean = (c[0] + c[1] + c[2]) / 3, len = 0;
        for (int k = 0; k < 3; ++k)
            out[k] = c[k] - mean, len += out[k] * out[k];
        for (int k = 0; k < 3; ++k)
            out[k] /= std::sqrt(len);
    };
    std::vector<Image> images = shippedImages();
    ASSERT_FALSE(HasFailure());
    for (int wall = 0; wall < 6; ++wall) {
        const Image& im = images[size_t(wall) + 1];
        double mean[3] = {0, 0, 0}, own[3];
        for (size_t p = 0; p < im.rgb.size(); ++p)
            mean[p % 3] += im.rgb[p];
        chroma(mean, own);
        int nearest = -1;
        double best = -2;
        for (int h = 0; h < 6; ++h) {
            double hue[3];
            chroma(hues[h], hue);
            double cosine = own[0] * hue[0] + own[1] * hue[1] + own[2] * hue[2];
            if (cosine > best)
                best = cosine, nearest = h;
        }
        EXPECT_EQ(nearest, wall) << g_textureFiles[wall + 1];
    }
}

TEST(TextureArt, TheProgramsLoaderReadsTheTexturesAsWritten)
{
    std::vector<Image> images = shippedImages();
    ASSERT_FALSE(HasFailure());
    for (int i = 0; i < kTextureCount; ++i) {
        RgbImage* loaded = loadBitmapImage((shippedDir() / g_textureFiles[i]).c_str());
        ASSERT_NE(loaded, nullptr) << g_textureFiles[i];
        EXPECT_EQ(loaded->width, 256);
        EXPECT_EQ(loaded->height, 256);
        std::vector<uint8_t> bottomUp;
        for (int y = 255; y >= 0; --y) {
            auto row = images[size_t(i)].rgb.begin() + y * 256 * 3;
            bottomUp.insert(bottomUp.end(), row, row + 256 * 3);
        }
        EXPECT_TRUE(std::equal(bottomUp.begin(), bottomUp.end(), loaded->data)) << g_textureFiles[i];
        freeRgbImage(loaded);
    }
}

}  // namespace
