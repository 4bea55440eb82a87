#pragma once

// End-to-end harness, what windows show: screenshots, frames counted through
// the DAMAGE extension, and keys sent with a wait for the picture to settle.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "x11_harness.h"

namespace e2e {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};
std::string str(Rgb c);  // "(r, g, b)"

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // packed RGB, top row first
    bool empty() const { return width == 0 || height == 0; }
    Rgb at(int x, int y) const;  // (0, 0) top left
    bool operator==(const Image& o) const { return width == o.width && height == o.height && rgb == o.rgb; }
};

// Share of the pixels for which pred holds (0 if the image is empty).
double fractionWhere(const Image& img, const std::function<bool(Rgb)>& pred);
// The n most common colours with their shares, e.g. "(127, 127, 255) 98.0%".
std::string dominantColours(const Image& img, int n = 4);
// Saves a PPM as $TMPDIR (or /tmp)/maze-e2e-images/<suite>.<test>-<name>.ppm,
// which outlives the test, prints and returns the path.
std::string saveDebugImage(const Image& img, const std::string& name);

// Counts frames a window presents: each buffer swap draws the window. Swaps
// coming faster than we look fold into one count, so counts are lower
// bounds: waiting for n counts means at least n frames were presented.
class FrameCounter {
public:
    explicit FrameCounter(Window w);
    ~FrameCounter();
    FrameCounter(const FrameCounter&) = delete;
    FrameCounter& operator=(const FrameCounter&) = delete;
    bool ok() const { return damage_ != 0; }  // false if the window was gone
    int poll();  // takes in the pending events, returns the count so far

private:
    unsigned long damage_ = 0;
    int count_ = 0;
};

// Waits until the window's picture has settled: two screenshots about 120 ms
// apart are identical and at least two frames were presented between them
// (so a program merely slow, or stalled by the machine's load, does not pass
// for a finished motion). The last screenshot goes to *last. False on
// timeout, when the window goes away or is not all on screen.
bool waitUntilStable(Window w, double timeout = kWaitTimeout, Image* last = nullptr);

// sendKey, then a wait for enough frames for any motion to finish (counted
// from after the key reached the program, so a motion not started yet cannot
// pass for a still picture), then waitUntilStable. False on timeout or when
// the window goes away (say the key ended the program: check its exit next).
bool sendKeyWaiting(Window w, char c, double timeout = kWaitTimeout);
// sendKeyWaiting for each key in turn; false at the first that fails (its
// index goes to *failedAt).
bool sendKeysWaiting(Window w, const std::string& keys, double timeoutPerKey = kWaitTimeout,
                     size_t* failedAt = nullptr);

}  // namespace e2e
