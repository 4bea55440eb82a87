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
    bool operator==(const Image& o) const
    {
        return width == o.width && height == o.height && rgb == o.rgb;
    }
};

// The window's pixels as the X server shows them (the part on screen, from
// the window's top-left corner). An empty image if the window is gone or
// not viewable.
Image screenshot(Window w);
// Share of the pixels for which pred holds (0 if the image is empty).
double fractionWhere(const Image& img, const std::function<bool(Rgb)>& pred);
// The n most common colours with their shares, e.g. "(127, 127, 255) 98.0%".
std::string dominantColours(const Image& img, int n = 4);
// Saves a binary PPM into $TMPDIR (or /tmp)/maze-e2e-images/<suite>.<test>-<name>.ppm,
// which outlives the test's folder, prints and returns the path.
std::string saveDebugImage(const Image& img, const std::string& name);

// Counts frames a window presents: each buffer swap draws the window.
// Several swaps can fold into one count when they come faster than we look,
// so counts are lower bounds on frames: waiting for n counts means at least
// n frames were presented.
class FrameCounter {
public:
    explicit FrameCounter(Window w);
    ~FrameCounter();
    FrameCounter(const FrameCounter&) = delete;
    FrameCounter& operator=(const FrameCounter&) = delete;
    bool ok() const { return damage_ != 0; }  // false if the window was gone
    // Takes in the pending damage events and returns the count so far.
    int poll();

private:
    Window window_;
    unsigned long damage_ = 0;
    int count_ = 0;
};

// Waits until the window's content has stopped changing: two screenshots
// taken about 120 ms apart are identical and the program presented at least
// two frames between them (so a program that is merely slow, or stalled by
// the machine's load, is not mistaken for a finished motion). The last
// screenshot goes to *last. False on timeout or when the window goes away.
bool waitUntilStable(Window w, double timeout = kWaitTimeout, Image* last = nullptr);

// Sends the key, then waits for enough frames for any motion to finish,
// counted from after the key reached the program (so a motion that has not
// started yet when we first look cannot pass for a still picture), then for
// waitUntilStable. False on timeout or when the window goes away (for
// instance because the key ended the program: check the program's exit next).
bool sendKeyWaiting(Window w, char c, double timeout = kWaitTimeout);
// sendKeyWaiting for each key in turn; false at the first failing key
// (its index goes to *failedAt).
bool sendKeysWaiting(Window w, const std::string& keys, double timeoutPerKey = kWaitTimeout,
                     size_t* failedAt = nullptr);

}  // namespace e2e
