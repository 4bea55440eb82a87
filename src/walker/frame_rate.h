#pragma once

#include <cstdint>
#include <string>

// "<appName> Current Frames Per Second: <frames>".
std::string frameRateTitle(const char* appName, int frames);

// Counts frames and says when the frame-rate title is due: on the first
// frame whose clock reading is more than a second past the last update.
struct FrameRateCounter {
    float framesPerSecond = 0.0f;  // frames since the last update
    float lastTime = 0.0f;         // seconds, at the last update

    // Counts one frame at `nowMs` (a millisecond clock). True, with the
    // frames counted so far in `*frames`, when the title is due; the count
    // then starts again.
    bool tick(uint32_t nowMs, int* frames);
};
