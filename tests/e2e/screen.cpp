// gtest before Xlib, whose macros break gtest's headers.
#include <gtest/gtest.h>

#include "screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace e2e {

static_assert(sizeof(Rgb) == 3, "saveDebugImage writes the pixels as they are");

std::string saveDebugImage(const Image& img, const std::string& name)
{
    std::error_code ec;
    const std::string dir = (std::filesystem::temp_directory_path(ec) / "maze-e2e-images").string();
    std::filesystem::create_directories(dir, ec);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();  // called in tests only
    const std::string path = dir + "/" + test->test_suite_name() + "." + test->name() + "-" + name + ".ppm";
    std::ofstream f(path, std::ios::binary);
    f << "P6\n" << img.width << " " << img.height << "\n255\n";
    f.write(reinterpret_cast<const char*>(img.pixels.data()), std::streamsize(img.pixels.size() * 3));
    std::fprintf(stderr, "e2e: %s %s\n", f ? "screenshot saved to" : "could not save a screenshot to", path.c_str());
    return path;
}

Image screenshot(Window w)
{
    Image img;
    XImage* xi = nullptr;
    if (windowAlive(w, &img.width, &img.height))
        x::withoutXError([&](Display* d) {
            xi = XGetImage(d, w, 0, 0, unsigned(img.width), unsigned(img.height), AllPlanes, ZPixmap);
        });
    if (!xi)
        return Image{};
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const unsigned long p = XGetPixel(xi, x, y);  // Xvfb's 24 bits: 0xRRGGBB
            img.pixels.push_back({uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
    XDestroyImage(xi);
    return img;
}

bool waitUntilStable(Window w, Image* last)
{
    Image previous = screenshot(w), current;
    int framesAtPrevious = framesPresented(w);
    double shotAt = now();
    const bool stable = x::waitFor(w, kWaitTimeout, [&] {
        if (now() < shotAt + 0.12)
            return false;
        current = screenshot(w);
        shotAt = now();
        if (current == previous)
            return !current.pixels.empty() && framesPresented(w) - framesAtPrevious >= 2;
        previous = std::move(current);
        framesAtPrevious = framesPresented(w);
        return false;
    });
    if (stable && last)
        *last = std::move(current);
    return stable;
}

bool sendKeyWaiting(Window w, char c)
{
    if (!sendKey(w, c))
        return false;
    // sendKey synced with the server: the frames counted from here come after the key. A step
    // takes 11 frames and a turn 10 from the first after the program reads the key; one frame
    // may be under way, and a few are margin.
    const int target = framesPresented(w) + 16;
    return x::waitFor(w, kWaitTimeout, [&] { return framesPresented(w) >= target; }) && waitUntilStable(w);
}

}  // namespace e2e
