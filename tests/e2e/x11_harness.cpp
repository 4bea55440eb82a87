#include "x11_harness.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "screen.h"

namespace e2e {

namespace {

int g_xErrors = 0;  // expected while windows come and go: counted, not fatal
int g_damageNotify = -1;  // the event type of DAMAGE reports
std::map<unsigned long, int> g_damageReports;
std::vector<std::pair<Window, std::string>> g_titles;  // every title write seen

// WM_NAME, where freeglut puts the title; "" if unset or the window is gone.
std::string windowTitle(Window w)
{
    char* name = nullptr;
    if (!x::withoutXError([&](Display* d) { XFetchName(d, w, &name); }) || !name)
        return "";
    std::string title = name;
    XFree(name);
    return title;
}

void logTitle(Window w)
{
    if (std::string t = windowTitle(w); !t.empty())
        g_titles.push_back({w, t});
}

}  // namespace

namespace x {

Display* display()
{
    static proc::Xvfb xvfb;  // stopped at exit
    static Display* const dpy = [] {
        Display* d = xvfb.start(kStartTimeout) ? XOpenDisplay(xvfb.display.c_str()) : nullptr;
        int error = 0, major = 1, minor = 1;
        if (!d || !XDamageQueryExtension(d, &g_damageNotify, &error) || !XDamageQueryVersion(d, &major, &minor)) {
            std::fprintf(stderr, "e2e: no X server with DAMAGE: %s\n", xvfb.describe().c_str());
            return d = nullptr;
        }
        g_damageNotify += XDamageNotify;
        XSetErrorHandler([](Display*, XErrorEvent*) { return ++g_xErrors, 0; });
        // New top-level windows, whose titles we then follow.
        XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
        return d;
    }();
    return dpy;
}

bool withoutXError(const std::function<void(Display*)>& request)
{
    Display* d = display();
    if (!d)
        return false;
    XSync(d, False);
    const int before = g_xErrors;
    request(d);
    XSync(d, False);
    return g_xErrors == before;
}

void pump()
{
    Display* d = display();
    if (d)
        XSync(d, False);  // every event from before the call is in
    for (XEvent e; d && XPending(d);) {
        XNextEvent(d, &e);
        if (e.type == g_damageNotify) {
            const Damage damage = reinterpret_cast<XDamageNotifyEvent&>(e).damage;
            ++g_damageReports[damage];
            XDamageSubtract(d, damage, None, None);  // so that the next drawing reports again
        } else if (e.type == CreateNotify && e.xcreatewindow.parent == DefaultRootWindow(d)) {
            XSelectInput(d, e.xcreatewindow.window, PropertyChangeMask);
            logTitle(e.xcreatewindow.window);  // one given before we listened
        } else if (e.type == PropertyNotify && e.xproperty.atom == XA_WM_NAME &&
                   e.xproperty.state == PropertyNewValue) {
            logTitle(e.xproperty.window);
        }
    }
}

int damageReports(unsigned long damage)
{
    return g_damageReports[damage];
}

bool waitFor(Window w, double timeout, const std::function<bool()>& done)
{
    bool gone = false;
    return display() && proc::waitUntil(timeout, [&] {
        pump();
        return done() || (gone = !windowAlive(w));
    }, 0.005) && !gone;
}

}  // namespace x

using x::display;
using x::withoutXError;

Program::Program(std::string path, std::vector<std::string> args, Files files)
    : proc::Program(std::move(path), std::move(args), std::move(files))
{
    setEnv("DISPLAY", display() ? DisplayString(display()) : "");
    // Mesa and Xlib keep memory till exit. The suppressions name only those
    // and are not reported, so stderr holds only the program's text.
    const char* inherited = std::getenv("LSAN_OPTIONS");
    setEnv("LSAN_OPTIONS", (inherited && *inherited ? std::string(inherited) + ":" : std::string()) +
                               "suppressions=" MAZE_LSAN_SUPPRESSIONS ":print_suppressions=0");
#ifdef MAZE_E2E_PRELOAD
    setEnv("LD_PRELOAD", MAZE_E2E_PRELOAD);
#endif
}

Window findWindow(proc::Program& program, const std::string& title)
{
    Window found = 0;
    proc::waitUntil(kStartTimeout, [&] {
        x::pump();  // so that a WindowLog reads titles while the windows exist
        Display* d = display();
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        if (!d || !XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
            return true;
        XWindowAttributes a;
        for (unsigned i = 0; i < count && !found; ++i) {
            const std::string t = windowTitle(children[i]);
            if ((title.empty() ? t.rfind("Maze: ", 0) == 0 : t == title) &&
                withoutXError([&](Display* dpy) { XGetWindowAttributes(dpy, children[i], &a); }) &&
                a.map_state == IsViewable)
                found = children[i];
        }
        if (children)
            XFree(children);
        return found || !program.running();
    }, 0.02);
    if (found)
        withoutXError([&](Display* d) { XMoveWindow(d, found, 0, 0); });
    return found;
}

bool windowAlive(Window w, int* width, int* height)
{
    XWindowAttributes a;
    Status st = 0;
    if (!withoutXError([&](Display* d) { st = XGetWindowAttributes(d, w, &a); }) || !st)
        return false;
    if (width)
        *width = a.width;
    if (height)
        *height = a.height;
    return true;
}

bool resizeWindow(Window w, int width, int height)
{
    return withoutXError([&](Display* d) { XResizeWindow(d, w, unsigned(width), unsigned(height)); });
}

bool waitForTitle(Window w, const std::function<bool(const std::string&)>& pred, std::string* last)
{
    return x::waitFor(w, kWaitTimeout, [&] {
        const std::string t = windowTitle(w);
        if (last)
            *last = t;
        return pred(t);
    });
}

bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates, FrameCounter* frames)
{
    x::pump();
    size_t next = g_titles.size();
    int seen = 0;
    return x::waitFor(w, timeout, [&] {
        for (; next < g_titles.size() && seen < n; ++next) {
            if (g_titles[next].first != w)
                continue;
            ++seen;
            if (updates)
                updates->push_back({g_titles[next].second, now(), frames ? frames->poll() : 0});
        }
        return seen == n;
    });
}

WindowLog::WindowLog() : from_((x::pump(), g_titles.size()))
{
}

std::vector<std::string> WindowLog::titles() const
{
    x::pump();
    std::vector<std::string> titles;
    for (size_t i = from_; i < g_titles.size(); ++i)
        titles.push_back(g_titles[i].second);
    return titles;
}

bool sendKey(Window w, char c)
{
    // Printable ASCII keysyms equal their codes.
    const KeySym sym = c == '\x1b' ? XK_Escape : c == '\r' ? XK_Return : KeySym(c);
    Display* dpy = display();
    const KeyCode code = dpy ? XKeysymToKeycode(dpy, sym) : 0;
    if (code == 0)
        return false;
    const bool shift = XkbKeycodeToKeysym(dpy, code, 0, 0) != sym;
    const KeyCode shiftCode = XKeysymToKeycode(dpy, XK_Shift_L);
    return withoutXError([&](Display* d) {
               XRaiseWindow(d, w);
               XSetInputFocus(d, w, RevertToPointerRoot, CurrentTime);
           }) &&
           withoutXError([&](Display* d) {
               if (shift)
                   XTestFakeKeyEvent(d, shiftCode, True, CurrentTime);
               XTestFakeKeyEvent(d, code, True, CurrentTime);
               XTestFakeKeyEvent(d, code, False, CurrentTime);
               if (shift)
                   XTestFakeKeyEvent(d, shiftCode, False, CurrentTime);
           });
}

}  // namespace e2e
