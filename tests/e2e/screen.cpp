// gtest before Xlib, whose macros break gtest's headers.
#include <gtest/gtest.h>

#include "screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace e2e {

using x::display;
using x::withoutXError;

// ---- Screenshots ----------------------------------------------------------

std::string str(Rgb c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

Rgb Image::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return Rgb{};
    const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    return Rgb{p[0], p[1], p[2]};
}

Image screenshot(Window w)
{
    Image img;
    Display* d = display();
    XWindowAttributes a;
    Status got = 0;
    int rootX = 0, rootY = 0;
    Window child;
    if (!withoutXError([&](Display* dd) {
            got = XGetWindowAttributes(dd, w, &a) &&
                  XTranslateCoordinates(dd, w, DefaultRootWindow(dd), 0, 0, &rootX, &rootY, &child);
        }) ||
        !got || a.map_state != IsViewable)
        return img;
    // XGetImage refuses any part of a window that lies off screen.
    int x0 = std::max(0, -rootX), y0 = std::max(0, -rootY);
    int x1 = std::min(a.width, DisplayWidth(d, DefaultScreen(d)) - rootX);
    int y1 = std::min(a.height, DisplayHeight(d, DefaultScreen(d)) - rootY);
    if (x1 <= x0 || y1 <= y0)
        return img;
    XImage* xi = nullptr;
    withoutXError([&](Display* dd) {
        xi = XGetImage(dd, w, x0, y0, unsigned(x1 - x0), unsigned(y1 - y0), AllPlanes, ZPixmap);
    });
    if (!xi)
        return img;
    // Xvfb's 24-bit screen: 32 bits a pixel, blue in the lowest byte.
    if (xi->bits_per_pixel == 32 && xi->red_mask == 0xff0000 && xi->green_mask == 0xff00 &&
        xi->blue_mask == 0xff && xi->byte_order == LSBFirst) {
        img.width = xi->width;
        img.height = xi->height;
        img.rgb.resize(size_t(img.width) * size_t(img.height) * 3);
        uint8_t* out = img.rgb.data();
        for (int y = 0; y < img.height; ++y) {
            const uint8_t* p = reinterpret_cast<const uint8_t*>(xi->data) + size_t(y) * size_t(xi->bytes_per_line);
            for (int x = 0; x < img.width; ++x, p += 4, out += 3) {
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
            }
        }
    } else {
        ADD_FAILURE() << "unexpected screen format: " << xi->bits_per_pixel << " bits a pixel";
    }
    XDestroyImage(xi);
    return img;
}

double fractionWhere(const Image& img, const std::function<bool(Rgb)>& pred)
{
    if (img.empty())
        return 0;
    size_t hits = 0, total = size_t(img.width) * size_t(img.height);
    for (size_t i = 0; i < total; ++i) {
        const uint8_t* p = &img.rgb[i * 3];
        hits += pred(Rgb{p[0], p[1], p[2]});
    }
    return double(hits) / double(total);
}

std::string dominantColours(const Image& img, int n)
{
    if (img.empty())
        return "(empty image)";
    std::map<uint32_t, size_t> counts;
    size_t total = size_t(img.width) * size_t(img.height);
    for (size_t i = 0; i < total; ++i) {
        const uint8_t* p = &img.rgb[i * 3];
        ++counts[uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]];
    }
    std::vector<std::pair<size_t, uint32_t>> byCount;
    for (auto& [c, k] : counts)
        byCount.push_back({k, c});
    std::sort(byCount.rbegin(), byCount.rend());
    std::string s;
    for (int i = 0; i < n && i < int(byCount.size()); ++i) {
        auto [count, c] = byCount[size_t(i)];
        char pct[32];
        std::snprintf(pct, sizeof pct, " %.1f%%", 100.0 * double(count) / double(total));
        s += (i ? ", " : "") + str(Rgb{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)}) + pct;
    }
    return s;
}

std::string saveDebugImage(const Image& img, const std::string& name)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/maze-e2e-images";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string test = "unknown";
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        test = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(test.begin(), test.end(), '/', '_');
    std::string path = dir + "/" + test + "-" + name + ".ppm";
    std::ofstream f(path, std::ios::binary);
    f << "P6\n" << img.width << " " << img.height << "\n255\n";
    f.write(reinterpret_cast<const char*>(img.rgb.data()), std::streamsize(img.rgb.size()));
    std::fprintf(stderr, "e2e: %s screenshot to %s\n", f ? "saved the" : "could not save the", path.c_str());
    return path;
}

// ---- Frames ---------------------------------------------------------------

namespace {

// The DAMAGE extension's first event number, after Xlib has been told of it.
int damageNotifyEvent()
{
    static const int event = [] {
        int eventBase = 0, errorBase = 0, major = 1, minor = 1;
        Display* d = display();
        if (!d || !XDamageQueryExtension(d, &eventBase, &errorBase) || !XDamageQueryVersion(d, &major, &minor))
            ADD_FAILURE() << "the X server has no DAMAGE extension";
        return eventBase + XDamageNotify;
    }();
    return event;
}

// Takes in the next pending damage report of `damage`; false if there is none.
bool nextDamageEvent(Damage damage)
{
    struct Match {
        int type;
        Damage damage;
    } match{damageNotifyEvent(), damage};
    auto isDamage = [](Display*, XEvent* e, XPointer arg) {
        auto* m = reinterpret_cast<Match*>(arg);
        return Bool(e->type == m->type && reinterpret_cast<XDamageNotifyEvent*>(e)->damage == m->damage);
    };
    XEvent e;
    return XCheckIfEvent(display(), &e, isDamage, reinterpret_cast<XPointer>(&match));
}

// Waits for n more counts; false on timeout or when the window goes away.
bool waitFrames(FrameCounter& frames, Window w, int n, double timeout)
{
    int target = frames.poll() + n;
    double deadline = now() + timeout;
    double lastAliveCheck = now();
    while (frames.poll() < target) {
        if (now() > deadline)
            return false;
        if (now() - lastAliveCheck > 0.1) {
            if (!windowAlive(w))
                return false;
            lastAliveCheck = now();
        }
        x::waitForEvents(0.005);
    }
    return true;
}

}  // namespace

FrameCounter::FrameCounter(Window w) : window_(w)
{
    Damage damage = 0;
    if (damageNotifyEvent() &&
        withoutXError([&](Display* d) { damage = XDamageCreate(d, w, XDamageReportNonEmpty); }))
        damage_ = damage;
}

FrameCounter::~FrameCounter()
{
    if (!damage_)
        return;
    // The server has already freed it if the window is gone; the error that
    // gives is counted and ignored.
    withoutXError([&](Display* d) { XDamageDestroy(d, damage_); });
    while (nextDamageEvent(damage_)) {
    }
}

int FrameCounter::poll()
{
    if (!damage_)
        return count_;
    XFlush(display());
    while (nextDamageEvent(damage_)) {
        ++count_;
        // Empties the damage so that the next drawing reports again.
        XDamageSubtract(display(), damage_, None, None);
    }
    XFlush(display());
    return count_;
}

bool waitUntilStable(Window w, double timeout, Image* last)
{
    const double pollInterval = 0.12;
    const int minFrames = 2;
    FrameCounter frames(w);
    if (!frames.ok())
        return false;
    double deadline = now() + timeout;
    Image previous = screenshot(w);
    int framesAtPrevious = frames.poll();
    for (;;) {
        // Sleep while taking in damage events, so the counter keeps up.
        double wakeUp = now() + pollInterval;
        while (now() < wakeUp) {
            frames.poll();
            x::waitForEvents(std::min(0.01, wakeUp - now()));
        }
        Image current = screenshot(w);
        if (current.empty())
            return false;  // window gone
        if (current == previous) {
            if (frames.poll() - framesAtPrevious >= minFrames) {
                if (last)
                    *last = std::move(current);
                return true;
            }
        } else {
            previous = std::move(current);
            framesAtPrevious = frames.poll();
        }
        if (now() > deadline)
            return false;
    }
}

// ---- Keys -----------------------------------------------------------------

bool sendKeyWaiting(Window w, char c, double timeout)
{
    // A step takes 11 frames and a turn 10, counted from the first frame
    // after the program reads the key; one frame may be under way when the
    // key arrives, and a few more are margin.
    const int motionFrames = 16;
    if (!sendKey(w, c))
        return false;
    // sendKey has synced with the server, so the key is on its way to the
    // program before the counter exists: every frame it counts comes after.
    FrameCounter frames(w);
    return frames.ok() && waitFrames(frames, w, motionFrames, timeout) && waitUntilStable(w, timeout);
}

bool sendKeysWaiting(Window w, const std::string& keys, double timeoutPerKey, size_t* failedAt)
{
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!sendKeyWaiting(w, keys[i], timeoutPerKey)) {
            if (failedAt)
                *failedAt = i;
            return false;
        }
    }
    return true;
}

}  // namespace e2e
