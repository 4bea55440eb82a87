#pragma once

// End-to-end harness, what windows show: screenshots, and keys sent with a
// wait for the picture to settle.

#include <cstdint>
#include <string>
#include <vector>

#include "x11_harness.h"

namespace e2e {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(Rgb o) const { return r == o.r && g == o.g && b == o.b; }
};
inline std::string str(Rgb c)  // "(r, g, b)"
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // top row first
    Rgb at(int x, int y) const { return pixels.at(size_t(y) * size_t(width) + size_t(x)); }  // (0, 0) top left
    bool operator==(const Image& o) const { return width == o.width && pixels == o.pixels; }
};

// Saves a PPM that outlives the test, $TMPDIR (or /tmp)/maze-e2e-images/
// <suite>.<test>-<name>.ppm; prints and returns the path.
std::string saveDebugImage(const Image& img, const std::string& name);

// The window's pixels; empty if it is gone, unmapped or not all on screen.
Image screenshot(Window w);

// Waits until two screenshots about 120 ms apart are identical with at least two frames presented
// between them (so a program merely slow or stalled does not pass for a finished motion); the last
// goes to *last. False on timeout or when the window is gone or not all on screen.
bool waitUntilStable(Window w, Image* last = nullptr);

// sendKey, then a wait for enough frames for any motion to finish, then waitUntilStable. False on
// timeout or when the window goes away (say the key ended the program).
bool sendKeyWaiting(Window w, char c);

}  // namespace e2e
