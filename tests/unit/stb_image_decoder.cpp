#define STB_IMAGE_IMPLEMENTATION
#include "stb_image_decoder.h"
