#pragma once

// End-to-end harness, the X session: the real binaries on an Xvfb of our own
// (one per test process, started on first use, stopped at exit), driven
// through window properties and XTest key events. There is no window
// manager: top-level windows are the root's children. Timeouts are in
// seconds and only bound the waits, which return as soon as they can.

#include <functional>
#include <string>
#include <vector>

#include "process.h"

// The Xlib types the interface uses, declared as Xlib does, so that tests
// need not include Xlib.h (its macros such as None and Bool clash with gtest).
typedef struct _XDisplay Display;
typedef union _XEvent XEvent;
typedef unsigned long Window;

namespace e2e {

using proc::ExitStatus;
using proc::Files;
using proc::now;
using proc::sleepFor;
using proc::statusKb;

// Generous enough for sanitizer builds.
constexpr double kStartTimeout = 60;  // program start to its first window
constexpr double kExitTimeout = 30;   // a key or event to the process exit
constexpr double kWaitTimeout = 30;   // any other wait

// A program on our Xvfb. In a sanitizer build it also gets LD_PRELOAD (the
// ASan runtime and the Mesa driver, which would otherwise be unloaded before
// the leak check) and LSAN_OPTIONS naming the project's suppression file.
class Program : public proc::Program {
public:
    Program(std::string path, std::vector<std::string> args = {}, Files files = {});
    bool start();  // false too when there is no X server
};

// The program's first viewable top-level window titled "Maze: ...", moved to
// (0, 0) (freeglut puts it a pixel off screen, which XGetImage refuses). 0 on
// timeout or when the program ends first.
Window findProgramWindow(proc::Program& program, double timeout = kStartTimeout);
// A viewable top-level window with exactly this title; 0 on timeout.
Window findWindowByTitle(const std::string& title, double timeout = kWaitTimeout);

bool windowAlive(Window w);
bool windowSize(Window w, int* width, int* height);
// Without a window manager the server applies it at once; X refuses sizes below 1.
bool resizeWindow(Window w, int width, int height);

// Polls the title until pred holds; the last title read goes to *last.
bool waitForTitle(Window w, const std::function<bool(const std::string&)>& pred,
                  double timeout = kWaitTimeout, std::string* last = nullptr);

class FrameCounter;

struct TitleUpdate {
    std::string title;
    double time;     // now() when seen
    int frames = 0;  // the FrameCounter's count then, if one was given
};
// Waits for n more writes of the title (rewriting the same text counts too).
// False on timeout or when the window goes away; the writes seen are in
// *updates. A FrameCounter, if given, is kept up to date meanwhile.
bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates,
                      FrameCounter* frames = nullptr);

// Every title given to the top-level windows created from now on; poll()
// takes in the pending events.
class WindowLog {
public:
    WindowLog();
    ~WindowLog();
    void poll();
    const std::vector<std::string>& titles() const { return titles_; }

private:
    std::vector<Window> windows_;
    std::vector<std::string> titles_;
};

// Raises and focuses the window and presses and releases the key through
// XTest, with Shift where the character needs it. Printable ASCII, '\x1b'
// for Escape, '\r' or '\n' for Return.
bool sendKey(Window w, char c);

// For screen.cpp: our connection (nullptr without a server); a request,
// false if it raised an X error; the first pending event for which pred
// holds; calls to done() until it holds (true), the time is up or the window
// is gone (false), with a short sleep between them that an event cuts short
// and the FrameCounter, if given, kept up to date.
namespace x {
Display* display();
bool withoutXError(const std::function<void(Display*)>& request);
bool takeEvent(const std::function<bool(const XEvent&)>& pred);
bool waitFor(Window w, double timeout, const std::function<bool()>& done, FrameCounter* frames = nullptr);
}  // namespace x

}  // namespace e2e
