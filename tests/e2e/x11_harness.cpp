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

namespace e2e {

namespace {

int g_xErrors = 0;        // expected while windows come and go: counted, not fatal
int g_damageNotify = -1;  // the event type of DAMAGE reports
std::map<Window, int> g_frames;  // DAMAGE reports by window
std::vector<std::pair<Window, std::string>> g_titles;  // every title write seen; window 0 once gone

// Our connection to our Xvfb, watching for new top-level windows; without them the test ends.
Display* display()
{
    static proc::Xvfb xvfb;  // stopped at exit
    static Display* const dpy = [] {
        Display* d = xvfb.start(kStartTimeout) ? XOpenDisplay(xvfb.display.c_str()) : nullptr;
        int error = 0, major = 1, minor = 1;
        if (!d || !XDamageQueryExtension(d, &g_damageNotify, &error) || !XDamageQueryVersion(d, &major, &minor)) {
            std::fprintf(stderr, "e2e: no X server with DAMAGE: %s\n", xvfb.describe().c_str());
            std::exit(1);
        }
        g_damageNotify += XDamageNotify;
        XSetErrorHandler([](Display*, XErrorEvent*) { return ++g_xErrors, 0; });
        XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
        return d;
    }();
    return dpy;
}

// WM_NAME, where freeglut puts the title; "" if unset or the window is gone.
std::string windowTitle(Window w)
{
    char* name = nullptr;
    x::withoutXError([&](Display* d) { XFetchName(d, w, &name); });
    const std::string title = name ? name : "";
    XFree(name);
    return title;
}

void logTitle(Window w)
{
    if (std::string t = windowTitle(w); !t.empty())
        g_titles.push_back({w, t});
}

// Takes in the pending events: counts DAMAGE reports, logs the titles of top-level windows.
void pump()
{
    Display* d = display();
    XSync(d, False);  // every event from before the call is in
    for (XEvent e; XPending(d);) {
        XNextEvent(d, &e);
        if (e.type == g_damageNotify) {
            const auto& report = reinterpret_cast<XDamageNotifyEvent&>(e);
            ++g_frames[report.drawable];
            XDamageSubtract(d, report.damage, None, None);  // so that the next drawing reports again
        } else if (e.type == CreateNotify && e.xcreatewindow.parent == DefaultRootWindow(d)) {
            XSelectInput(d, e.xcreatewindow.window, PropertyChangeMask);
            logTitle(e.xcreatewindow.window);  // one given before we listened
        } else if (e.type == PropertyNotify && e.xproperty.atom == XA_WM_NAME) {
            logTitle(e.xproperty.window);
        } else if (e.type == DestroyNotify) {  // the server may reuse its id
            g_frames.erase(e.xdestroywindow.window);
            for (auto& entry : g_titles)
                entry.first = entry.first == e.xdestroywindow.window ? 0 : entry.first;
        }
    }
}

// Zeroed (0 by 0, unmapped) once the window is gone.
XWindowAttributes attributes(Window w)
{
    XWindowAttributes a{};
    x::withoutXError([&](Display* d) { XGetWindowAttributes(d, w, &a); });
    return a;
}

}  // namespace

bool x::withoutXError(const std::function<void(Display*)>& request)
{
    XSync(display(), False);
    const int before = g_xErrors;
    request(display());
    XSync(display(), False);
    return g_xErrors == before;
}

bool x::waitFor(Window w, double timeout, const std::function<bool()>& done)
{
    bool gone = false;
    return proc::waitUntil(timeout, [&] {
        pump();
        return done() || (gone = !windowAlive(w));
    }, 0.005) && !gone;
}

using x::withoutXError;

Program::Program(std::string path, std::vector<std::string> args, Files files)
    : proc::Program(std::move(path), std::move(args), std::move(files))
{
    setEnv("DISPLAY", DisplayString(display()));
    // For what Mesa and Xlib keep till exit; unreported, so stderr holds only the program's text.
    setEnv("LSAN_OPTIONS", "suppressions=" MAZE_LSAN_SUPPRESSIONS ":print_suppressions=0");
#ifdef MAZE_E2E_PRELOAD
    setEnv("LD_PRELOAD", MAZE_E2E_PRELOAD);
#endif
}

Window findWindow(proc::Program& program, const std::string& title)
{
    Window found = 0;
    proc::waitUntil(kStartTimeout, [&] {
        pump();
        for (const auto& [w, t] : g_titles)
            if (!found && (title.empty() ? t.rfind("Maze: ", 0) == 0 : t == title) &&
                attributes(w).map_state == IsViewable)
                found = w;
        return found || !program.running();
    }, 0.02);
    if (found)
        withoutXError([&](Display* d) {
            XMoveWindow(d, found, 0, 0);
            if (g_frames.emplace(found, 0).second)  // one damage object a window
                XDamageCreate(d, found, XDamageReportNonEmpty);
        });
    return found;
}

bool windowAlive(Window w, int* width, int* height)
{
    const XWindowAttributes a = attributes(w);
    if (width)
        *width = a.width;
    if (height)
        *height = a.height;
    return a.width > 0;
}

bool resizeWindow(Window w, int width, int height)
{
    return withoutXError([&](Display* d) { XResizeWindow(d, w, unsigned(width), unsigned(height)); });
}

Window createTestWindow(int width, int height)
{
    Window w = 0;
    const bool ok = withoutXError([&](Display* d) {
        const unsigned long black = BlackPixel(d, DefaultScreen(d));
        w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, unsigned(width), unsigned(height), 0, black, black);
        XMapWindow(d, w);
    });
    return ok ? w : 0;
}

bool destroyWindow(Window w)
{
    return withoutXError([&](Display* d) { XDestroyWindow(d, w); });
}

Window rootWindow()
{
    return DefaultRootWindow(display());
}

bool waitForTitle(Window w, const std::function<bool(const std::string&)>& pred)
{
    return x::waitFor(w, kWaitTimeout, [&] { return pred(windowTitle(w)); });
}

int framesPresented(Window w)
{
    pump();
    return g_frames[w];
}

bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates)
{
    pump();
    size_t next = g_titles.size();
    updates->clear();
    return x::waitFor(w, timeout, [&] {
        for (; next < g_titles.size() && int(updates->size()) < n; ++next)
            if (g_titles[next].first == w)
                updates->push_back({g_titles[next].second, now(), g_frames[w]});
        return int(updates->size()) == n;
    });
}

WindowLog::WindowLog() : from((pump(), g_titles.size()))
{
}

std::vector<std::string> WindowLog::titles() const
{
    pump();
    std::vector<std::string> titles;
    for (size_t i = from; i < g_titles.size(); ++i)
        titles.push_back(g_titles[i].second);
    return titles;
}

bool WindowLog::titlesUntilExit(proc::Program& program, double timeout, std::vector<std::string>* titles,
                                ExitStatus* status) const
{
    return proc::waitUntil(timeout, [&] {
        *titles = this->titles();
        return !program.running();
    }) && program.waitExit(0, status);
}

bool sendKey(Window w, char c)
{
    const KeySym sym = c == '\x1b' ? XK_Escape : c == '\r' ? XK_Return : KeySym(c);  // printable ASCII: its code
    const KeyCode code = XKeysymToKeycode(display(), sym), shiftCode = XKeysymToKeycode(display(), XK_Shift_L);
    const bool shift = XkbKeycodeToKeysym(display(), code, 0, 0) != sym;
    return code && withoutXError([&](Display* d) {
        XSetInputFocus(d, w, RevertToPointerRoot, CurrentTime);
        if (shift)
            XTestFakeKeyEvent(d, shiftCode, True, CurrentTime);
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        if (shift)
            XTestFakeKeyEvent(d, shiftCode, False, CurrentTime);
    });
}

}  // namespace e2e
