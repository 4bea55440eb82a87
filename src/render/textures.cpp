#include "render/textures.h"

const char* const g_textureFiles[kTextureCount] = {
    "metal004.bmp",          "pipes6lights.bmp",      "pipeslights.bmp",  "pipeslightswires.bmp",
    "StoneWallImproved.bmp", "RustyBricksGrate.bmp", "SteelBoxFan.bmp",
};

unsigned int g_textures[kTextureCount] = {0, 0, 0, 0, 0, 0, 0};
