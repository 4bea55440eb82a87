#include "bitmap/textures.h"

const char* const g_textureFiles[kTextureCount] = {
    "metal004.bmp",          "pipes6lights.bmp",      "pipeslights.bmp",  "pipeslightswires.bmp",
    "StoneWallImproved.bmp", "RustyBricksGrate.bmp", "SteelBoxFan.bmp",
};

int nearestPowerOfTwo(int n, int limit)
{
    int p = 1;
    while (p * 2 <= n && p * 2 <= limit)
        p *= 2;
    return (n - p >= 2 * p - n && p * 2 <= limit) ? p * 2 : p;
}
