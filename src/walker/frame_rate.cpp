#include "walker/frame_rate.h"

#include <cstdio>

std::string frameRateTitle(const char* appName, int frames)
{
    char text[64];  // the fixed text, a six-character name and any int fit
    std::snprintf(text, sizeof text, "%s Current Frames Per Second: %d", appName, frames);
    return text;
}

bool FrameRateCounter::tick(uint32_t nowMs, int* frames)
{
    const float currentTime = float(nowMs * 0.001);
    framesPerSecond += 1.0f;
    if (!(currentTime - lastTime > 1.0f))
        return false;
    lastTime = currentTime;
    *frames = int(framesPerSecond);
    framesPerSecond = 0.0f;
    return true;
}
