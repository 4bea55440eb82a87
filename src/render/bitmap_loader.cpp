#include "render/bitmap_loader.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/message_box.h"

RgbImage* loadBitmapImage(const char* fileName, int32_t sideLimit, const std::string& missingHint)
{
    std::string err;
    RgbImage* image = readBitmapFile(fileName ? fileName : "", &err, sideLimit);
    if (!image) {
        std::error_code ec;
        if (!missingHint.empty() && !std::filesystem::exists(fileName ? fileName : "", ec))
            err += missingHint;
        showMessageBox(err.c_str(), "Error");
    }
    return image;
}
