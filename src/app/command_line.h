#pragma once

// The program's own command line: maze [--demo] [--fullscreen] [--message-box]
// [--show-exits] [MAZEFILE], --help, --version.

#include <string>

#include "app/window_size.h"

struct CommandLine {
    enum Action { Run, Help, Version, UsageError };
    Action action = Run;
    bool hasMazeFile = false;  // a MAZEFILE operand was given, even an empty one
    std::string mazeFile;      // the MAZEFILE operand
    bool demo = false;         // --demo: the walker walks itself
    bool fullscreen = false;   // --fullscreen
    bool messageBox = false;   // --message-box: the congratulation also in a box
    bool showExits = false;    // --show-exits: the exits' floors drawn marked
    bool toolkitSize = false;  // the last -geometry names a width and a height above 0
    WindowSize windowSize;     // the size the last -geometry names, read in full
    std::string error;         // UsageError only: what is wrong, one line, no newline
};

// Reads the arguments after argv[0]. The X options glutInit takes (-display
// and -geometry with their values, -direct, -indirect, -iconic, -gldebug,
// -sync) are passed over, so the same call answers --help, --version and bad
// options before glutInit, which needs a display, and reads the operand
// after glutInit has removed them. The first --help (or -h) or --version
// decides; --demo, --fullscreen, --message-box and --show-exits set their flags; any other
// argument starting with "-" is an unknown option; at most one operand.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The text --help prints on stdout.
const char* usageText();

// The usage lines that start usageText, which a usage error prints after its line.
const char* usageLines();

// "maze " and the version, then a newline.
const char* versionText();

// Prints what a Help, Version or UsageError command line asks for (usage
// errors as "maze: <error>" and the usage lines on stderr) and returns the exit
// code: 0, or 2 for usage errors.
int answerCommandLine(const CommandLine& line);
