#pragma once

// End-to-end harness, the X session: runs the real binaries on an Xvfb of
// our own and drives them like a user would, through window properties and
// XTest key events. Screenshots and frame counting are in screen.h.
//
// One Xvfb per test process, started on first use and stopped by its pid at
// exit; gtest_discover_tests runs each test case in a process of its own.
// There is no window manager: top-level windows are the root's children.
//
// Timeouts are in seconds and are upper bounds only: every wait returns as
// soon as its condition holds.

#include <functional>
#include <string>
#include <vector>

#include "process.h"

// The two Xlib types the interface uses, declared as Xlib does, so that tests
// need not include Xlib.h (its macros such as None and Bool clash with gtest).
typedef struct _XDisplay Display;
typedef unsigned long Window;

namespace e2e {

using proc::ExitStatus;
using proc::Files;
using proc::now;
using proc::sleepFor;
using proc::statusKb;

// Default timeouts, already generous for sanitizer builds.
constexpr double kStartTimeout = 60;  // program start to its first window
constexpr double kExitTimeout = 30;   // a key or event to the process exit
constexpr double kWaitTimeout = 30;   // any other wait

// A program on our Xvfb (DISPLAY names it). In a sanitizer build it also
// gets LD_PRELOAD (ASan runtime and the Mesa driver, which would otherwise
// be unloaded before the leak check) and LSAN_OPTIONS naming the project's
// suppression file.
class Program : public proc::Program {
public:
    Program(std::string path, std::vector<std::string> args = {}, Files files = {});
    // False too when the X server could not be started.
    bool start();
};

// The program's first viewable top-level window, by its title "Maze: ...",
// moved to (0, 0): freeglut places windows at (-1, -1), a pixel off screen,
// which XGetImage refuses. 0 on timeout or when the program ends first.
Window findProgramWindow(proc::Program& program, double timeout = kStartTimeout);
// A viewable top-level window with exactly this title; 0 on timeout.
Window findWindowByTitle(const std::string& title, double timeout = kWaitTimeout);

bool windowAlive(Window w);
bool windowSize(Window w, int* width, int* height);
// Resizes the window (no window manager, so the server applies it at once
// and the program gets a ConfigureNotify). Sizes below 1 are refused by X.
bool resizeWindow(Window w, int width, int height);

// Polls the title until pred holds; the last title read goes to *last.
bool waitForTitle(Window w, const std::function<bool(const std::string&)>& pred,
                  double timeout = kWaitTimeout, std::string* last = nullptr);

class FrameCounter;

struct TitleUpdate {
    std::string title;
    double time;     // seconds, steady clock (see now())
    int frames = 0;  // the FrameCounter's count at that moment, if one was given
};
// Waits for n more writes of the title property by the program (counted from
// PropertyNotify, so rewriting the same text counts too). False on timeout
// or when the window goes away; the writes seen so far are in *updates.
// A FrameCounter, if given, is kept up to date meanwhile.
bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates,
                      FrameCounter* frames = nullptr);

// Records what happens to top-level windows created from now on: how many
// were created and mapped, and every title they were given. Call poll()
// to take in the pending events.
class WindowLog {
public:
    WindowLog();
    ~WindowLog();
    WindowLog(const WindowLog&) = delete;
    WindowLog& operator=(const WindowLog&) = delete;
    void poll();
    const std::vector<std::string>& titles() const { return titles_; }

private:
    std::vector<Window> windows_;
    std::vector<std::string> titles_;
};

// Raises and focuses the window and sends a real press and release through
// XTest, holding Shift for characters that need it. Characters: printable
// ASCII, '\x1b' Escape, '\r' or '\n' Return.
bool sendKey(Window w, char c);

// For screen.cpp: our connection, made with the server on first use
// (nullptr if that failed); a request run and checked for X errors (false
// also without a server); a sleep that ends when the server sends an event.
namespace x {
Display* display();
bool withoutXError(const std::function<void(Display*)>& request);
void waitForEvents(double seconds);
}  // namespace x

}  // namespace e2e
