// libFuzzer target: arbitrary bytes through the bitmap decoder. A returned
// image must be as large as it says; reading every byte lets AddressSanitizer
// check that.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bitmap/bitmap_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A few bytes of RLE can describe a huge all-black image; a lower ceiling
    // keeps every input fast without hiding any decoding path.
    std::string err;
    RgbImage* image = decodeBitmap(data, size, &err, size_t(1) << 20);
    if (!image) {
        if (err.empty())
            std::abort();  // every failure has its message
        return 0;
    }
    if (image->width <= 0 || image->height <= 0 || !image->data)
        std::abort();
    const size_t bytes = size_t(image->width) * size_t(image->height) * 3;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum += image->data[i];
    volatile unsigned sink = sum;
    (void)sink;
    freeRgbImage(image);
    return 0;
}
