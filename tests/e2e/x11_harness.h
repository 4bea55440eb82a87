#pragma once

// End-to-end harness: runs the real binaries under an Xvfb of our own and
// drives them like a user would, through the X server (XTest key events,
// window properties, XGetImage screenshots, DAMAGE as a frame counter).
//
// One Xvfb per test process; gtest_discover_tests runs each test case in a
// process of its own, so test cases never share a server. Every process the
// harness starts is stopped by its pid (or its own process group) and dies
// with the test process if that crashes.
//
// Timeouts are in seconds and are upper bounds only: every wait returns as
// soon as its condition holds, so generous values cost nothing when things
// work. The environment variable MAZE_E2E_TIMEOUT_SCALE (a positive float,
// default 1) stretches all of them for very slow machines.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The two Xlib types the interface uses, declared as Xlib does, so that tests
// need not include Xlib.h (its macros such as None and Bool clash with gtest).
typedef struct _XDisplay Display;
typedef unsigned long Window;

namespace e2e {

// Default timeouts, already generous for sanitizer builds.
constexpr double kStartTimeout = 60;  // program start to its first window
constexpr double kExitTimeout = 30;   // a key or event to the process exit
constexpr double kWaitTimeout = 30;   // any other wait

double scaled(double seconds);

// ---- The X server ---------------------------------------------------------

// This process's Xvfb (1024x768x24, started with -displayfd on a free
// display) and our connection to it. Started on first use, stopped by pid at
// exit. nullptr if the server could not be started (the reason is printed).
Display* display();
// The display name handed to programs, e.g. ":3"; "" if there is no server.
std::string displayName();

// ---- Programs -------------------------------------------------------------

using Files = std::map<std::string, std::string>;  // file name -> bytes

// The whole file, "" if it cannot be read.
std::string readFile(const std::string& path);

struct ExitStatus {
    bool exited = false;  // ended through exit(): code holds the exit code
    int code = -1;
    int signal = 0;       // ended by this signal
    std::string str() const;
};

// A program run in a fresh temporary folder holding the given files, with
// DISPLAY set to our Xvfb, stdin from /dev/null, stdout and stderr captured
// in files, in a process group of its own. The destructor kills it if it is
// still running and removes the folder. In a sanitizer build the program
// also gets LD_PRELOAD (ASan runtime and the Mesa driver, which would
// otherwise be unloaded before the leak check) and LSAN_OPTIONS naming the
// project's suppression file.
class Program {
public:
    explicit Program(std::string path, std::vector<std::string> args = {}, Files files = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Extra environment for the program; call before start().
    void setEnv(const std::string& name, const std::string& value);
    // Creates the folder, writes the files and starts the program. False if
    // any of that failed (the reason is printed).
    bool start();

    pid_t pid() const { return pid_; }
    // The working directory, holding the files.
    const std::string& dir() const { return dir_; }

    // True until the process has ended (reaps it when it has).
    bool running();
    // Waits for the process to end; false on timeout (the process is left
    // running). The status is also kept for status().
    bool waitExit(double timeout = kExitTimeout, ExitStatus* status = nullptr);
    const ExitStatus& status() const { return status_; }
    // SIGKILL to the process group, then reaps the process.
    void kill();

    // Everything the program wrote so far.
    std::string out() const;
    std::string err() const;
    // State, stdout and stderr in a few lines, for failure messages.
    std::string describe();

private:
    std::string path_;
    std::vector<std::string> args_;
    Files files_;
    std::vector<std::string> env_;
    std::string root_, dir_;
    pid_t pid_ = 0;
    bool reaped_ = false;
    ExitStatus status_;
};

// ---- Windows --------------------------------------------------------------
// There is no window manager: top-level windows are the root's children.

std::vector<Window> topLevelWindows();
bool windowAlive(Window w);
bool windowViewable(Window w);
bool windowSize(Window w, int* width, int* height);
// _NET_WM_NAME if set, else WM_NAME; "" if neither or the window is gone.
std::string windowTitle(Window w);
// _NET_WM_PID, 0 if unset (freeglut does not set it).
pid_t windowPid(Window w);

// The program's first viewable top-level window: by _NET_WM_PID when the
// toolkit sets it, otherwise the first whose title starts with titlePrefix.
// freeglut places windows at (-1, -1), a pixel off screen, which XGetImage
// refuses, so the window found is moved to (0, 0). 0 on timeout or when the
// program ends first.
Window findProgramWindow(Program& program, const std::string& titlePrefix = "Maze: ",
                         double timeout = kStartTimeout);
// A viewable top-level window with exactly this title (or starting with it
// when prefix is true); 0 on timeout. Not moved.
Window findWindowByTitle(const std::string& title, double timeout = kWaitTimeout,
                         bool prefix = false);

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
    int created() const { return created_; }
    int mapped() const { return mapped_; }
    const std::vector<std::string>& titles() const { return titles_; }

private:
    std::vector<Window> windows_;
    int created_ = 0, mapped_ = 0;
    std::vector<std::string> titles_;
};

// ---- Screenshots ----------------------------------------------------------

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::string str(Rgb c);  // "(r, g, b)"

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // packed RGB, top row first
    bool empty() const { return width == 0 || height == 0; }
    Rgb at(int x, int y) const;  // (0, 0) top left
    bool operator==(const Image& o) const
    {
        return width == o.width && height == o.height && rgb == o.rgb;
    }
    bool operator!=(const Image& o) const { return !(*this == o); }
};

// The window's pixels as the X server shows them (the part on screen, from
// the window's top-left corner). An empty image if the window is gone or
// not viewable.
Image screenshot(Window w);
// Share of the pixels for which pred holds (0 if the image is empty).
double fractionWhere(const Image& img, const std::function<bool(Rgb)>& pred);
// The n most common colours with their shares, e.g. "(127, 127, 255) 98.0%".
std::string dominantColours(const Image& img, int n = 4);
// Binary PPM (P6); false if it cannot be written.
bool savePpm(const Image& img, const std::string& path);
// Saves into $TMPDIR (or /tmp)/maze-e2e-images/<suite>.<test>-<name>.ppm,
// which outlives the test's folder, prints and returns the path.
std::string saveDebugImage(const Image& img, const std::string& name);

// ---- Frames ---------------------------------------------------------------

// Counts frames a window presents, through the DAMAGE extension: each
// buffer swap draws the window. Several swaps can fold into one count when
// they come faster than we look, so counts are lower bounds on frames:
// waiting for n counts means at least n frames were presented.
class FrameCounter {
public:
    explicit FrameCounter(Window w);
    ~FrameCounter();
    FrameCounter(const FrameCounter&) = delete;
    FrameCounter& operator=(const FrameCounter&) = delete;
    bool ok() const { return damage_ != 0; }
    // Takes in the pending damage events and returns the count so far.
    int poll();
    // Waits for n more counts; false on timeout or when the window goes away.
    bool waitFrames(int n, double timeout = kWaitTimeout);

private:
    Window window_;
    unsigned long damage_ = 0;
    int count_ = 0;
};

// Waits until the window's content has stopped changing: two screenshots
// taken about 120 ms apart are identical and the program presented at least
// minFrames frames between them (so a program that is merely slow, or
// stalled by the machine's load, is not mistaken for a finished motion).
// Pass minFrames 0 for a window that draws only when exposed (the message
// box). If the server lacks DAMAGE, three identical screenshots in a row are
// required instead. The last screenshot goes to *last. False on timeout or
// when the window goes away.
bool waitUntilStable(Window w, double timeout = kWaitTimeout, Image* last = nullptr,
                     int minFrames = 2);

// ---- Keys -----------------------------------------------------------------

// Raises the window and gives it the input focus.
bool focusWindow(Window w);
// Focuses the window and sends a real press and release through XTest,
// holding Shift for characters that need it. Characters: printable ASCII,
// '\x1b' Escape, '\r' or '\n' Return, '\t' Tab, '\b' BackSpace.
bool sendKey(Window w, char c);
bool sendKeysym(Window w, unsigned long keysym);

// Frames after a key that any motion has certainly finished in: a step
// takes 11 frames and a turn 10, counted from the first frame after the
// program reads the key; one frame may be under way when the key arrives,
// and a few more are margin.
constexpr int kMotionFrames = 16;

// Sends the key, then waits for kMotionFrames frames counted from after the
// key reached the program (so a motion that has not started yet when we
// first look cannot pass for a still picture), then for waitUntilStable.
// False on timeout or when the window goes away (for instance because the
// key ended the program: check the program's exit next).
bool sendKeyWaiting(Window w, char c, double timeout = kWaitTimeout);
// sendKeyWaiting for each key in turn; false at the first failing key
// (its index goes to *failedAt).
bool sendKeysWaiting(Window w, const std::string& keys, double timeoutPerKey = kWaitTimeout,
                     size_t* failedAt = nullptr);

// ---- Soak helpers ---------------------------------------------------------

// Resizes the window (no window manager, so the server applies it at once
// and the program gets a ConfigureNotify). Sizes below 1 are refused by X.
bool resizeWindow(Window w, int width, int height);
// VmRSS of the process in KiB, -1 if unavailable.
long residentKb(pid_t pid);

// ---- Time -----------------------------------------------------------------

double now();  // seconds on the steady clock
void sleepFor(double seconds);

}  // namespace e2e
