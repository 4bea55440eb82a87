#include "render/bitmap_loader.h"

#include <string>

#include "platform/message_box.h"

RgbImage* loadBitmapImage(const char* fileName, int32_t sideLimit)
{
    std::string err;
    RgbImage* image = readBitmapFile(fileName ? fileName : "", &err, sideLimit);
    if (!image)
        showMessageBox(err.c_str(), "Error");
    return image;
}
