#include "saver/saver_window.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>

namespace {

// X errors are collected, not fatal: a foreign window can vanish at any
// time, and what that means is decided outside the handler, which may not
// make requests.
int g_errors = 0;
XErrorEvent g_firstError{};

int collectError(Display*, XErrorEvent* e)
{
    if (g_errors++ == 0)
        g_firstError = *e;
    return 0;
}

// Called when the connection breaks; Xlib ends the process if this returns,
// so it ends it itself, with one line.
int connectionLost(Display* d)
{
    std::fprintf(stderr, "mazewalk: lost the connection to the X server %s\n", DisplayString(d));
    std::fflush(stderr);
    std::_Exit(1);
}

std::string hexId(unsigned long id)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

// Whether `w` exists, its attributes in *a; the BadWindow of a missing one is swallowed.
bool windowAttributes(Display* d, Window w, XWindowAttributes* a)
{
    XSync(d, False);
    const int before = g_errors;
    const Status ok = XGetWindowAttributes(d, w, a);
    XSync(d, False);
    if (g_errors != before) {
        g_errors = before;
        return false;
    }
    return ok != 0;
}

int fbAttribute(Display* d, GLXFBConfig c, int attribute)
{
    int value = 0;
    glXGetFBConfigAttrib(d, c, attribute, &value);
    return value;
}

// The best RGBA window FBConfig with the visual `visualId` (any visual when
// 0): double-buffered over single-buffered, then with a depth buffer, then
// the fewest extra bits. Null when there is none with a depth buffer.
GLXFBConfig chooseConfig(Display* d, int screen, VisualID visualId)
{
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(d, screen, &count);
    GLXFBConfig best = nullptr;
    long bestScore = -1;
    for (int i = 0; i < count; ++i) {
        GLXFBConfig c = configs[i];
        const int visual = fbAttribute(d, c, GLX_VISUAL_ID);
        if (!visual || (visualId && VisualID(visual) != visualId) ||
            !(fbAttribute(d, c, GLX_RENDER_TYPE) & GLX_RGBA_BIT) ||
            !(fbAttribute(d, c, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) || fbAttribute(d, c, GLX_DEPTH_SIZE) < 16 ||
            fbAttribute(d, c, GLX_RED_SIZE) < 5)
            continue;
        if (!visualId && fbAttribute(d, c, GLX_X_VISUAL_TYPE) != GLX_TRUE_COLOR)
            continue;
        const long extra = fbAttribute(d, c, GLX_STENCIL_SIZE) + fbAttribute(d, c, GLX_ACCUM_RED_SIZE) +
                           fbAttribute(d, c, GLX_SAMPLES) + fbAttribute(d, c, GLX_ALPHA_SIZE);
        const long score = (fbAttribute(d, c, GLX_DOUBLEBUFFER) ? 1000000L : 0L) - extra;
        if (score > bestScore) {
            best = c;
            bestScore = score;
        }
    }
    XFree(configs);
    return best;
}

// A 500 by 500 window of our own, titled "mazewalk", mapped; 0 on failure.
Window createOwnWindow(Display* d, int screen, GLXFBConfig config, Atom deleteWindow)
{
    XVisualInfo* visual = glXGetVisualFromFBConfig(d, config);
    if (!visual)
        return 0;
    const Window root = RootWindow(d, screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(d, root, visual->visual, AllocNone);
    attributes.background_pixel = BlackPixel(d, screen);
    attributes.border_pixel = 0;
    attributes.event_mask = StructureNotifyMask | KeyPressMask;
    const Window w = XCreateWindow(d, root, 0, 0, 500, 500, 0, visual->depth, InputOutput, visual->visual,
                                   CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    XFree(visual);
    XStoreName(d, w, "mazewalk");
    XClassHint hint{const_cast<char*>("mazewalk"), const_cast<char*>("Mazewalk")};
    XSetClassHint(d, w, &hint);
    XSetWMProtocols(d, w, &deleteWindow, 1);
    XMapWindow(d, w);
    return w;
}

}  // namespace

bool openSaverWindow(const SaverOptions& options, const char* envWindow, SaverWindow* out, std::string* err)
{
    Display* d = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
    if (!d) {
        const char* name = XDisplayName(options.display.empty() ? nullptr : options.display.c_str());
        *err = std::string("cannot open display '") + (name ? name : "") + "'";
        return false;
    }
    XSetErrorHandler(collectError);
    XSetIOErrorHandler(connectionLost);
    out->display = d;

    int screen = DefaultScreen(d);
    VisualID visualId = 0;
    if (options.target == SaverOptions::OwnWindow) {
        out->own = true;
    } else {
        Window w = RootWindow(d, screen);
        if (options.target == SaverOptions::WindowId) {
            w = options.windowId;
        } else if (envWindow && *envWindow) {
            unsigned long id = 0;
            if (!parseWindowId(envWindow, &id)) {
                *err = std::string("XSCREENSAVER_WINDOW is not a window id: '") + envWindow + "'";
                return false;
            }
            w = id;
        }
        XWindowAttributes a{};
        if (!windowAttributes(d, w, &a)) {
            *err = "no window " + hexId(w) + " on display " + DisplayString(d);
            return false;
        }
        out->window = w;
        out->width = a.width;
        out->height = a.height;
        screen = XScreenNumberOfScreen(a.screen);
        visualId = XVisualIDFromVisual(a.visual);
        // Its size and its end; everything else belongs to whoever made it.
        XSelectInput(d, w, StructureNotifyMask);
    }

    GLXFBConfig config = chooseConfig(d, screen, visualId);
    if (!config) {
        *err = out->own ? std::string("no OpenGL visual with a depth buffer on display ") + DisplayString(d)
                        : "window " + hexId(out->window) + " has no OpenGL visual with a depth buffer";
        return false;
    }
    out->doubleBuffered = fbAttribute(d, config, GLX_DOUBLEBUFFER) != 0;
    if (out->own) {
        out->deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
        out->window = createOwnWindow(d, screen, config, out->deleteWindow);
        out->width = out->height = 500;
        if (!out->window) {
            *err = "cannot create a window";
            return false;
        }
    }
    out->context = glXCreateNewContext(d, config, GLX_RGBA_TYPE, nullptr, True);
    if (!out->context || !glXMakeCurrent(d, out->window, out->context)) {
        *err = "cannot draw with OpenGL into window " + hexId(out->window);
        return false;
    }
    XSync(d, False);
    if (g_errors) {
        g_errors = 0;
        *err = "cannot draw with OpenGL into window " + hexId(out->window);
        return false;
    }
    return true;
}

WindowEvents takeWindowEvents(SaverWindow* w)
{
    WindowEvents result = WindowEvents::Nothing;
    while (XPending(w->display)) {
        XEvent e;
        XNextEvent(w->display, &e);
        if (e.xany.window != w->window)
            continue;
        switch (e.type) {
        case ConfigureNotify:
            w->width = e.xconfigure.width;
            w->height = e.xconfigure.height;
            break;
        case DestroyNotify: return WindowEvents::Destroyed;
        case ClientMessage:
            if (w->own && Atom(e.xclient.data.l[0]) == w->deleteWindow)
                result = WindowEvents::Quit;
            break;
        case KeyPress:
            if (w->own) {
                char text[8] = {};
                KeySym sym = NoSymbol;
                XLookupString(&e.xkey, text, sizeof text, &sym, nullptr);
                if (sym == XK_Escape || sym == XK_q || sym == XK_Q)
                    result = WindowEvents::Quit;
            }
            break;
        default: break;
        }
    }
    return result;
}

std::string checkXErrors(SaverWindow* w, WindowEvents* events)
{
    XSync(w->display, False);
    if (!g_errors)
        return "";
    const XErrorEvent error = g_firstError;
    g_errors = 0;
    XWindowAttributes a{};
    if (!windowAttributes(w->display, w->window, &a)) {
        *events = WindowEvents::Destroyed;
        return "";
    }
    char text[256];
    XGetErrorText(w->display, error.error_code, text, sizeof text);
    return std::string("X error: ") + text + " (request " + std::to_string(error.request_code) + "." +
           std::to_string(error.minor_code) + ")";
}

void presentFrame(const SaverWindow& w)
{
    if (w.doubleBuffered)
        glXSwapBuffers(w.display, w.window);
    else
        glFlush();
}

void closeSaverWindow(SaverWindow* w)
{
    if (!w->display)
        return;
    if (w->context) {
        glXMakeCurrent(w->display, None, nullptr);
        glXDestroyContext(w->display, w->context);
    }
    if (w->own && w->window)
        XDestroyWindow(w->display, w->window);
    XCloseDisplay(w->display);
    *w = SaverWindow{};
}
