#include "render/bitmap_loader.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/message_box.h"
#include "render/texture_set.h"

namespace {

// Shows the loader's message for `fileName`, followed by `missingHint` when
// the file does not exist, in one box captioned "Error".
void showLoadError(std::string err, const char* fileName, const std::string& missingHint)
{
    std::error_code ec;
    if (!missingHint.empty() && !std::filesystem::exists(fileName ? fileName : "", ec))
        err += missingHint;
    showMessageBox(err.c_str(), "Error");
}

}  // namespace

RgbImage* loadBitmapImage(const char* fileName, int32_t sideLimit, const std::string& missingHint)
{
    std::string err;
    RgbImage* image = readBitmapFile(fileName ? fileName : "", &err, sideLimit);
    if (!image)
        showLoadError(err, fileName, missingHint);
    return image;
}

bool loadTexture(unsigned int* textures, const char* fileName, int index, const std::string& missingHint)
{
    std::string err;
    if (loadTextureFile(textures, fileName, index, &err))
        return true;
    showLoadError(err, fileName, missingHint);
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
