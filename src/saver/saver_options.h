#pragma once

// mazewalk's command line, in the style of the screensaver family: every
// long option may be written with one dash or two, and a value either as the
// next argument or after "=".

#include <string>

#include "maze/maze_generator.h"

struct SaverOptions {
    enum Action { Run, Help, Version, UsageError };
    // Where to draw: a window of its own; the daemon's window
    // ($XSCREENSAVER_WINDOW) or else the root window; a window named by id.
    enum Target { OwnWindow, Root, WindowId };

    Action action = Run;
    Target target = OwnWindow;  // the last of --window, --root, --window-id wins
    unsigned long windowId = 0;  // WindowId only
    std::string display;         // --display, "" for $DISPLAY
    long delayMicroseconds = 16666;  // the pace of frames: 60 a second
    int speed = 1;                   // motion frames played per drawn frame
    MazeRequest maze;                // width, height and exits; the seed is the program's to pick
                                     // (exits beyond what the size takes are dropped)
    bool fps = false;                // the frame rate drawn in a corner
    bool showExits = false;          // the exits' floor marked green
    std::string error;               // UsageError only: what is wrong, one line, no newline
};

// The longest --delay: ten seconds.
const long kMaxDelayMicroseconds = 10000000;
// The most motion frames per drawn frame.
const int kMaxSpeed = 10;

// Reads the arguments after argv[0]. The first --help (-h) or --version
// decides; otherwise every option is checked, and the first problem makes a
// UsageError.
SaverOptions parseSaverOptions(int argc, const char* const* argv);

// A window id as X clients write them: "0x" and hex digits, or decimal
// digits; not 0. False for anything else.
bool parseWindowId(const std::string& text, unsigned long* id);

// Prints what a Help, Version or UsageError line asks for (a usage error as
// "mazewalk: <error>" and the short usage on stderr) and returns the exit
// code: 0, or 2 for usage errors.
int answerSaverOptions(const SaverOptions& options);
