#include "x11_harness.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "screen.h"

namespace e2e {

namespace {

int g_xErrors = 0;

// X errors are expected while programs come and go (a window vanishing
// between two requests); they are counted, not fatal.
int countXError(Display*, XErrorEvent*)
{
    ++g_xErrors;
    return 0;
}

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
        XSetErrorHandler(countXError);
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

#if defined(__SANITIZE_ADDRESS__)
#define MAZE_E2E_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAZE_E2E_ASAN 1
#endif
#endif

#ifdef MAZE_E2E_ASAN
// The first mapped file of ours whose name contains the text.
std::string mappedLibrary(const char* name)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        size_t slash = line.find('/');
        if (slash != std::string::npos && line.find(name, slash) != std::string::npos)
            return line.substr(slash);
    }
    return "";
}
#endif

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
    int before = g_xErrors;
    request(d);
    XSync(d, False);
    return g_xErrors == before;
}

void waitForEvents(double seconds)
{
    Display* d = display();
    if (!d)
        return sleepFor(seconds);
    XFlush(d);
    if (XPending(d) > 0)
        return;
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    ::poll(&p, 1, std::max(1, int(seconds * 1000)));
}

}  // namespace x

using x::display;
using x::withoutXError;

// ---- Programs -------------------------------------------------------------

Program::Program(std::string path, std::vector<std::string> args, Files files)
    : proc::Program(std::move(path), std::move(args), std::move(files))
{
#ifdef MAZE_LSAN_SUPPRESSIONS
    // Sanitized programs end with memory that third-party libraries (Mesa,
    // Xlib) keep till exit; the suppressions name only those, and their use
    // is not reported, so stderr holds only the program's own text.
    const char* inherited = std::getenv("LSAN_OPTIONS");
    setEnv("LSAN_OPTIONS", (inherited && *inherited ? std::string(inherited) + ":" : std::string()) +
                               "suppressions=" MAZE_LSAN_SUPPRESSIONS ":print_suppressions=0");
#endif
#ifdef MAZE_E2E_ASAN
    // The Mesa driver is unloaded at exit before LeakSanitizer looks, so its
    // memory would be reported from "<unknown module>" and could not be told
    // from ours. Preloading the driver keeps it mapped, so the suppressions
    // can name it.
    std::string asan = mappedLibrary("/libasan.so");
    std::string x11 = mappedLibrary("/libX11.so");
    std::string driver = x11.empty() ? "" : x11.substr(0, x11.rfind('/')) + "/dri/swrast_dri.so";
    if (!asan.empty() && !driver.empty() && access(driver.c_str(), R_OK) == 0)
        setEnv("LD_PRELOAD", asan + " " + driver);
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

bool viewable(Window w)
{
    XWindowAttributes a;
    return attributes(w, &a) && a.map_state == IsViewable;
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

// Our only interest in client windows is their properties; one mask for all
// selects keeps the helpers from overwriting each other's selection.
void selectWindowEvents(Window w)
{
    withoutXError([&](Display* d) { XSelectInput(d, w, PropertyChangeMask); });
}

// Takes in the next pending write of w's title; false if there is none.
bool nextTitleEvent(Window w)
{
    XEvent e;
    auto isTitle = [](Display*, XEvent* e, XPointer w) {
        return Bool(e->type == PropertyNotify && e->xproperty.window == *reinterpret_cast<Window*>(w) &&
                    e->xproperty.state == PropertyNewValue && e->xproperty.atom == XA_WM_NAME);
    };
    return XCheckIfEvent(display(), &e, isTitle, reinterpret_cast<XPointer>(&w));
}

// The first viewable top-level window whose title matches, polled until the
// timeout or until `program`, if given, has ended; 0 then.
Window findWindow(const std::function<bool(const std::string&)>& match, proc::Program* program, double timeout)
{
    Display* d = display();
    if (!d)
        return 0;
    double deadline = now() + timeout;
    for (;;) {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        std::vector<Window> windows;
        if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count) && children) {
            windows.assign(children, children + count);
            XFree(children);
        }
        for (Window w : windows) {
            if (match(windowTitle(w)) && viewable(w)) {
                selectWindowEvents(w);
                return w;
            }
        }
        if ((program && !program->running()) || now() > deadline)
            return 0;
        sleepFor(0.02);
    }
}

}  // namespace

Window findProgramWindow(proc::Program& program, double timeout)
{
    auto isMaze = [](const std::string& t) { return t.compare(0, 6, "Maze: ") == 0; };
    Window w = findWindow(isMaze, &program, timeout);
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
    double deadline = now() + timeout;
    for (;;) {
        std::string t = windowTitle(w);
        if (last)
            *last = t;
        if (pred(t))
            return true;
        if (now() > deadline || !windowAlive(w))
            return false;
        sleepFor(0.02);
    }
}

bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates,
                      FrameCounter* frames)
{
    if (!display())
        return false;
    selectWindowEvents(w);  // also syncs, so every write from before the call is in
    while (nextTitleEvent(w)) {
    }
    double deadline = now() + timeout;
    double lastAliveCheck = now();
    for (int seen = 0; seen < n;) {
        if (nextTitleEvent(w)) {
            ++seen;
            if (updates)
                updates->push_back({windowTitle(w), now(), frames ? frames->poll() : 0});
            continue;
        }
        if (now() > deadline)
            return false;
        if (now() - lastAliveCheck > 0.2) {
            if (!windowAlive(w))
                return false;
            lastAliveCheck = now();
        }
        if (frames)
            frames->poll();
        x::waitForEvents(frames ? 0.005 : 0.05);
    }
    return true;
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
    Window root = DefaultRootWindow(d);
    XEvent e;
    while (XCheckWindowEvent(d, root, SubstructureNotifyMask, &e)) {
        if (e.type == CreateNotify && e.xcreatewindow.parent == root) {
            Window w = e.xcreatewindow.window;
            windows_.push_back(w);
            selectWindowEvents(w);
            // A title given before we listened.
            if (std::string t = windowTitle(w); !t.empty())
                titles_.push_back(t);
        }
    }
    for (Window w : windows_) {
        while (nextTitleEvent(w)) {
            if (std::string t = windowTitle(w); !t.empty())
                titles_.push_back(t);
        }
    }
}

// ---- Keys -----------------------------------------------------------------

bool sendKey(Window w, char c)
{
    KeySym keysym;
    if (c == '\x1b')
        keysym = XK_Escape;
    else if (c == '\r' || c == '\n')
        keysym = XK_Return;
    else if (c >= 0x20 && c <= 0x7e)
        keysym = KeySym(c);  // printable ASCII keysyms equal their codes
    else
        return false;
    Display* d = display();
    if (!d)
        return false;
    KeyCode code = XKeysymToKeycode(d, keysym);
    if (code == 0)
        return false;
    bool shift = XkbKeycodeToKeysym(d, code, 0, 0) != keysym;
    if (shift && XkbKeycodeToKeysym(d, code, 0, 1) != keysym)
        return false;
    KeyCode shiftCode = XKeysymToKeycode(d, XK_Shift_L);
    return withoutXError([&](Display* dd) {
        XRaiseWindow(dd, w);
        XSetInputFocus(dd, w, RevertToPointerRoot, CurrentTime);
    }) && withoutXError([&](Display* dd) {
        if (shift)
            XTestFakeKeyEvent(dd, shiftCode, True, CurrentTime);
        XTestFakeKeyEvent(dd, code, True, CurrentTime);
        XTestFakeKeyEvent(dd, code, False, CurrentTime);
        if (shift)
            XTestFakeKeyEvent(dd, shiftCode, False, CurrentTime);
    });
}

}  // namespace e2e
