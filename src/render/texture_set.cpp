#include "render/texture_set.h"

#include <GL/glu.h>
#include <algorithm>
#include <vector>

#include "render/bitmap_loader.h"

unsigned int g_textures[kTextureCount] = {0, 0, 0, 0, 0, 0, 0};

bool loadTexture(unsigned int* textures, const char* fileName, int index, const std::string& missingHint)
{
    if (!fileName)
        return true;
    // A bitmap wider or taller than GL takes is refused by the loader, with its message.
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    RgbImage* image = loadBitmapImage(fileName, maxSize > 0 ? std::min(maxSize, kMaxBitmapSide) : kMaxBitmapSide,
                                      missingHint);
    if (!image)
        return false;

    glGenTextures(1, &textures[index]);
    glBindTexture(GL_TEXTURE_2D, textures[index]);
    // Rows are packed at width * 3 bytes, whatever the width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GLU's mipmap builder loses rows when it rescales the width alone, so
    // sides that are not powers of two are rescaled here first.
    int w = nearestPowerOfTwo(image->width, maxSize > 0 ? maxSize : 1024);
    int h = nearestPowerOfTwo(image->height, maxSize > 0 ? maxSize : 1024);
    std::vector<unsigned char> scaled;
    const unsigned char* pixels = image->data;
    if (w != image->width || h != image->height) {
        scaled.resize(size_t(w) * size_t(h) * 3);
        gluScaleImage(GL_RGB, image->width, image->height, GL_UNSIGNED_BYTE, image->data, w, h,
                      GL_UNSIGNED_BYTE, scaled.data());
        pixels = scaled.data();
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    freeRgbImage(image);
    return true;
}
