#pragma once

// End-to-end harness, the X session: the real binaries on an Xvfb of our own
// (started on first use, stopped at exit, no window manager), driven through
// window titles and XTest keys. Timeouts, in seconds, only bound the waits.

#include <functional>
#include <string>
#include <vector>

#include "process.h"

// As Xlib declares them: tests need not include Xlib.h, whose macros break gtest.
typedef struct _XDisplay Display;
typedef unsigned long Window;

namespace e2e {

using proc::ExitStatus;
using proc::Files;
using proc::now;
using proc::sleepFor;
using proc::statusKb;

constexpr double kStartTimeout = 60;  // program start to its first window (all generous for ASan)
constexpr double kExitTimeout = 30;   // a key or event to the process exit
constexpr double kWaitTimeout = 30;   // any other wait

// A program on our Xvfb; in a sanitizer build with the ASan runtime and Mesa's driver preloaded
// (else unloaded before the leak check) and the project's LeakSanitizer suppressions.
struct Program : proc::Program {
    Program(std::string path, std::vector<std::string> args = {}, Files files = {});
};

// The program's first viewable top-level window titled `title` ("Maze: ..."
// if empty), moved to (0, 0) (freeglut puts it a pixel off screen, which
// XGetImage refuses); 0 on timeout or when the program ends first.
Window findWindow(proc::Program& program, const std::string& title = "");

// False once the window is gone; else its size goes to *width and *height.
bool windowAlive(Window w, int* width = nullptr, int* height = nullptr);
bool resizeWindow(Window w, int width, int height);  // at once, without a window manager

// A top-level window of the test's own at (0, 0), black, mapped (there is no
// window manager to wait for); 0 on failure. For programs told to draw into it.
Window createTestWindow(int width, int height);
bool destroyWindow(Window w);
Window rootWindow();

// Frames the window presented since findWindow found it, counted through
// DAMAGE: swaps faster than we look fold into one, so it is a lower bound.
int framesPresented(Window w);

// Polls the title until pred holds; false on timeout or when the window goes away.
bool waitForTitle(Window w, const std::function<bool(const std::string&)>& pred);

struct TitleUpdate {
    std::string title;
    double time;  // now() when seen
    int frames;   // framesPresented() then
};
// Waits for n more writes of the title (the same text counts too), which replace *updates; false
// on timeout or when the window goes away.
bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates);

// Every title given to a top-level window since construction.
struct WindowLog {
    WindowLog();
    std::vector<std::string> titles() const;
    // Waits for the program to end, reading titles meanwhile (once a window is gone its title
    // cannot be read); the titles() go to *titles, how it ended to *status. False on timeout.
    bool titlesUntilExit(proc::Program& program, double timeout, std::vector<std::string>* titles,
                         ExitStatus* status) const;
    size_t from;
};

// Focuses the window and types the key through XTest, with Shift where the
// character needs it: printable ASCII, '\x1b' for Escape, '\r' for Return.
bool sendKey(Window w, char c);

namespace x {  // for screen.cpp
bool withoutXError(const std::function<void(Display*)>& request);  // false if it raised an X error
// Calls done() until it holds (true), the time is up or the window is gone (false).
bool waitFor(Window w, double timeout, const std::function<bool()>& done);
}  // namespace x

}  // namespace e2e
