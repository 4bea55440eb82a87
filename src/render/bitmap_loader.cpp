#include "render/bitmap_loader.h"

#include <string>

#include "platform/message_box.h"

RgbImage* loadBitmapImage(const char* fileName)
{
    std::string err;
    RgbImage* image = readBitmapFile(fileName ? fileName : "", &err);
    if (!image)
        showMessageBox(err.c_str(), "Error");
    return image;
}
