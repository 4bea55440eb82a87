#include "render/bitmap_loader.h"

#include <string>

#include "platform/message_box.h"
#include "render/texture_set.h"

RgbImage* loadBitmapImage(const char* fileName, int32_t sideLimit)
{
    std::string err;
    RgbImage* image = readBitmapFile(fileName ? fileName : "", &err, sideLimit);
    if (!image)
        showMessageBox(err.c_str(), "Error");
    return image;
}

bool loadTexture(unsigned int* textures, const char* fileName, int index)
{
    std::string err;
    if (loadTextureFile(textures, fileName, index, &err))
        return true;
    showMessageBox(err.c_str(), "Error");
    return false;
}

bool loadExitFloorTexture(unsigned int* texture, const char* floorFile)
{
    std::string err;
    if (loadExitFloorTextureFile(texture, floorFile, &err))
        return true;
    showMessageBox(err.c_str(), "Error");
    return false;
}
