#include "x11_harness.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "screen.h"

namespace e2e {

namespace {

// X errors are expected while programs come and go (a window vanishing
// between two requests); they are counted, not fatal.
int g_xErrors = 0;

// This process's Xvfb and our connection to it; closed, then stopped, at exit.
struct Session {
    proc::Xvfb xvfb;
    Display* dpy = nullptr;
    Session()
    {
        if (xvfb.start(kStartTimeout))
            dpy = XOpenDisplay(xvfb.display().c_str());
        if (!dpy)
            std::fprintf(stderr, "e2e: no X server: %s\n", xvfb.describe().c_str());
        XSetErrorHandler([](Display*, XErrorEvent*) {
            ++g_xErrors;
            return 0;
        });
    }
    ~Session()
    {
        if (dpy)
            XCloseDisplay(dpy);
    }
};

Session& session()
{
    static Session s;
    return s;
}

}  // namespace

namespace x {

Display* display()
{
    return session().dpy;
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

bool takeEvent(const std::function<bool(const XEvent&)>& pred)
{
    using Pred = std::function<bool(const XEvent&)>;
    auto match = [](Display*, XEvent* e, XPointer p) { return Bool((*reinterpret_cast<Pred*>(p))(*e)); };
    XEvent e;
    return display() && XCheckIfEvent(display(), &e, match, reinterpret_cast<XPointer>(const_cast<Pred*>(&pred)));
}

bool waitFor(Window w, double timeout, const std::function<bool()>& done, FrameCounter* frames)
{
    Display* d = display();
    const double deadline = now() + timeout;
    for (double aliveAt = now(); !done();) {
        if (frames)
            frames->poll();
        if (!d || now() > deadline)
            return false;
        if (now() - aliveAt > 0.1) {
            if (!windowAlive(w))
                return false;
            aliveAt = now();
        }
        // Sleeps until the server sends something, a few milliseconds at most.
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        if (XPending(d) == 0)
            ::poll(&p, 1, frames ? 5 : 20);
    }
    return true;
}

}  // namespace x

using x::display;
using x::withoutXError;

Program::Program(std::string path, std::vector<std::string> args, Files files)
    : proc::Program(std::move(path), std::move(args), std::move(files))
{
#ifdef MAZE_LSAN_SUPPRESSIONS
    // Mesa and Xlib keep memory till exit; the suppressions name only those,
    // and their use is not reported, so stderr holds only the program's text.
    const char* inherited = std::getenv("LSAN_OPTIONS");
    setEnv("LSAN_OPTIONS", (inherited && *inherited ? std::string(inherited) + ":" : std::string()) +
                               "suppressions=" MAZE_LSAN_SUPPRESSIONS ":print_suppressions=0");
#endif
#ifdef MAZE_E2E_PRELOAD
    setEnv("LD_PRELOAD", MAZE_E2E_PRELOAD);
#endif
}

bool Program::start()
{
    if (!display())
        return false;
    setEnv("DISPLAY", session().xvfb.display());
    return proc::Program::start();
}

// ---- Windows --------------------------------------------------------------

namespace {

bool attributes(Window w, XWindowAttributes* a)
{
    Status st = 0;
    return withoutXError([&](Display* d) { st = XGetWindowAttributes(d, w, a); }) && st;
}

// WM_NAME, where freeglut puts the title; "" if unset or the window is gone.
std::string windowTitle(Window w)
{
    char* name = nullptr;
    if (!withoutXError([&](Display* d) { XFetchName(d, w, &name); }) || !name)
        return "";
    std::string title = name;
    XFree(name);
    return title;
}

// One event mask for all client windows, so that no helper overwrites
// another's selection.
void listenToTitle(Window w)
{
    withoutXError([&](Display* d) { XSelectInput(d, w, PropertyChangeMask); });
}

bool takeTitleEvent(Window w)
{
    return x::takeEvent([w](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == w && e.xproperty.state == PropertyNewValue &&
               e.xproperty.atom == XA_WM_NAME;
    });
}

// The first viewable top-level window whose title matches; polls until the
// timeout or until the program, if given, has ended.
Window findWindow(const std::function<bool(const std::string&)>& match, proc::Program* program, double timeout)
{
    const double deadline = now() + timeout;
    for (Display* d = display(); d; sleepFor(0.02)) {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
        std::vector<Window> windows(children, children + count);
        if (children)
            XFree(children);
        for (Window w : windows) {
            XWindowAttributes a;
            if (match(windowTitle(w)) && attributes(w, &a) && a.map_state == IsViewable) {
                listenToTitle(w);
                return w;
            }
        }
        if ((program && !program->running()) || now() > deadline)
            break;
    }
    return 0;
}

}  // namespace

Window findProgramWindow(proc::Program& program, double timeout)
{
    Window w = findWindow([](const std::string& t) { return t.rfind("Maze: ", 0) == 0; }, &program, timeout);
    if (w)
        withoutXError([&](Display* d) { XMoveWindow(d, w, 0, 0); });
    return w;
}

Window findWindowByTitle(const std::string& title, double timeout)
{
    return findWindow([&](const std::string& t) { return t == title; }, nullptr, timeout);
}

bool windowAlive(Window w)
{
    XWindowAttributes a;
    return attributes(w, &a);
}

bool windowSize(Window w, int* width, int* height)
{
    XWindowAttributes a;
    if (!attributes(w, &a))
        return false;
    *width = a.width;
    *height = a.height;
    return true;
}

bool resizeWindow(Window w, int width, int height)
{
    return width >= 1 && height >= 1 &&
           withoutXError([&](Display* d) { XResizeWindow(d, w, unsigned(width), unsigned(height)); });
}

bool waitForTitle(Window w, const std::function<bool(const std::string&)>& pred, double timeout,
                  std::string* last)
{
    return x::waitFor(w, timeout, [&] {
        const std::string t = windowTitle(w);
        if (last)
            *last = t;
        return pred(t);
    });
}

bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates,
                      FrameCounter* frames)
{
    listenToTitle(w);  // also syncs: every write from before the call is in
    while (takeTitleEvent(w)) {
    }
    int seen = 0;
    return x::waitFor(w, timeout, [&] {
        for (; seen < n && takeTitleEvent(w); ++seen)
            if (updates)
                updates->push_back({windowTitle(w), now(), frames ? frames->poll() : 0});
        return seen == n;
    }, frames);
}

WindowLog::WindowLog()
{
    withoutXError([](Display* d) { XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask); });
}

WindowLog::~WindowLog()
{
    withoutXError([](Display* d) { XSelectInput(d, DefaultRootWindow(d), NoEventMask); });
    poll();  // drains what is left
}

void WindowLog::poll()
{
    Display* d = display();
    if (!d)
        return;
    XSync(d, False);
    auto keep = [&](Window w) {
        if (std::string t = windowTitle(w); !t.empty())
            titles_.push_back(t);
    };
    XEvent e;
    while (XCheckWindowEvent(d, DefaultRootWindow(d), SubstructureNotifyMask, &e)) {
        if (e.type == CreateNotify && e.xcreatewindow.parent == DefaultRootWindow(d)) {
            windows_.push_back(e.xcreatewindow.window);
            listenToTitle(e.xcreatewindow.window);
            keep(e.xcreatewindow.window);  // a title given before we listened
        }
    }
    for (Window w : windows_)
        while (takeTitleEvent(w))
            keep(w);
}

bool sendKey(Window w, char c)
{
    KeySym keysym = KeySym(c);  // printable ASCII keysyms equal their codes
    if (c == '\x1b')
        keysym = XK_Escape;
    else if (c == '\r' || c == '\n')
        keysym = XK_Return;
    else if (c < 0x20 || c > 0x7e)
        return false;
    Display* dpy = display();
    const KeyCode code = dpy ? XKeysymToKeycode(dpy, keysym) : 0;
    if (code == 0)
        return false;
    const bool shift = XkbKeycodeToKeysym(dpy, code, 0, 0) != keysym;
    if (shift && XkbKeycodeToKeysym(dpy, code, 0, 1) != keysym)
        return false;
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
