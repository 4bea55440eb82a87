#pragma once

// mazewalk's window: the one a screensaver daemon or its settings' preview
// made, the root window, or one of its own; and a GL context on it through
// GLX alone. A foreign window is only drawn into and watched for its size
// and its end: no other input is selected on it, it is never mapped,
// unmapped, grabbed or destroyed.

#include <X11/Xlib.h>
#include <GL/glx.h>

#include <string>

#include "saver/saver_options.h"

struct SaverWindow {
    Display* display = nullptr;
    Window window = 0;
    bool own = false;        // made by us (--window): it takes keys and the close button
    int width = 0, height = 0;
    bool doubleBuffered = true;
    GLXContext context = nullptr;
    Atom deleteWindow = 0;   // WM_DELETE_WINDOW, own window only
};

// Opens the display and the window `options` names (`envWindow`, the value of
// $XSCREENSAVER_WINDOW or null, is used by --root) with a GL context current
// on it, from an FBConfig of the window's own visual. False with a one-line
// message, no newline, in *err.
bool openSaverWindow(const SaverOptions& options, const char* envWindow, SaverWindow* out, std::string* err);

// What the pending events asked for.
enum class WindowEvents {
    Nothing,
    Quit,       // own window: q, Q, Escape or the close button
    Destroyed,  // the window is gone
};
// Takes every pending event: follows the window's size into width and
// height, and says whether it ended or was asked to end. Never blocks.
WindowEvents takeWindowEvents(SaverWindow* w);

// After the frame's requests have reached the server: an X error raised by
// them, as a one-line message, or "" for none; a window destroyed under us
// is reported as Destroyed through *events instead.
std::string checkXErrors(SaverWindow* w, WindowEvents* events);

// Shows the frame drawn: swaps the buffers, or flushes a single-buffered window.
void presentFrame(const SaverWindow& w);

// Releases the context, destroys the window if it is ours, and closes the display.
void closeSaverWindow(SaverWindow* w);
