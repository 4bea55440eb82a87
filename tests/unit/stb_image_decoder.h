#pragma once

// stb_image, the reference decoder of the bitmap and PNG tests; its code is
// compiled once, in stb_image_decoder.cpp.
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>
