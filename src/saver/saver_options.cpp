#include "saver/saver_options.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "maze/maze.h"
#include "maze/maze_request.h"

#ifndef MAZE_VERSION
#error "MAZE_VERSION comes from the build (project version)"
#endif

namespace {

const char kShortUsage[] =
    "usage: mazewalk [--window | --root | --window-id ID] [--delay MICROSECONDS] [--speed N]\n"
    "                [--width W] [--height H] [--exits K] [--show-exits] [--fps]\n"
    "                [--display NAME]\n"
    "(run 'mazewalk --help' for more)\n";

const char kUsage[] =
    "usage: mazewalk [--window | --root | --window-id ID] [--delay MICROSECONDS] [--speed N]\n"
    "                [--width W] [--height H] [--exits K] [--show-exits] [--fps]\n"
    "                [--display NAME]\n"
    "       mazewalk --help | --version\n"
    "\n"
    "Walks through random mazes by itself, a new maze at each exit: maze's demo\n"
    "as a screensaver. Options take one dash or two.\n"
    "\n"
    "where it draws:\n"
    "  --window           a window of its own, 500 by 500 (the default); q, Q or\n"
    "                     Escape ends it\n"
    "  --root             the window in $XSCREENSAVER_WINDOW (the screensaver's),\n"
    "                     else the root window\n"
    "  --window-id ID     the window ID, 0x and hex digits or decimal (the settings'\n"
    "                     preview)\n"
    "\n"
    "options:\n"
    "  --delay MICROSECONDS  the pace of frames, 0 to 10000000 (default 16666: 60 a\n"
    "                     second)\n"
    "  --speed N          motion frames played per frame drawn, 1 to 10 (default 1)\n"
    "  --width W          the mazes' width in cells, border included, 5 to 32\n"
    "                     (default 32)\n"
    "  --height H         their height, 5 to 32 (default 32)\n"
    "  --exits K          exits in each maze, 1 to 197, at most what the size takes\n"
    "                     (2 in a 5 by 5 maze) (default 1)\n"
    "  --show-exits       draw the exits' floor green, so they can be seen from afar\n"
    "  --fps              the frame rate in the bottom left corner\n"
    "  --display NAME     the X display (default $DISPLAY)\n"
    "\n"
    "files: the seven textures of maze (maze(6)), read from the working directory,\n"
    "else from the install's share/maze.\n"
    "\n"
    "exit codes: 0 after SIGTERM, SIGINT or a quit key, 1 when the window or the X\n"
    "server cannot be used or goes away, or a texture cannot be loaded, 2 for a bad\n"
    "command line.\n";

SaverOptions usageError(std::string message)
{
    SaverOptions options;
    options.action = SaverOptions::UsageError;
    options.error = std::move(message);
    return options;
}

// A whole number from low to high, or a message saying what it must be.
bool readNumber(const std::string& name, const std::string& text, long low, long high, long* value,
                std::string* err)
{
    std::uint64_t v = 0;
    if (!parseRequestNumber(text, std::uint64_t(high), v) || long(v) < low) {
        *err = name + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
               ", not '" + text + "'";
        return false;
    }
    *value = long(v);
    return true;
}

}  // namespace

bool parseWindowId(const std::string& text, unsigned long* id)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > (hex ? 8u : 10u))  // X ids have 29 bits
        return false;
    for (char c : digits)
        if (!(c >= '0' && c <= '9') && !(hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))))
            return false;
    const unsigned long value = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
    if (value == 0 || value > 0xffffffffUL)
        return false;
    *id = value;
    return true;
}

SaverOptions parseSaverOptions(int argc, const char* const* argv)
{
    SaverOptions options;
    std::string values[kRequestFieldCount] = {"32", "32", "0", "1"};
    std::string delay = std::to_string(options.delayMicroseconds), speed = std::to_string(options.speed);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.size() < 2 || arg[0] != '-')
            return usageError("unexpected argument '" + arg + "'");
        // One dash or two, as the screensaver family writes its options.
        std::string name = arg.compare(0, 2, "--") == 0 ? arg.substr(2) : arg.substr(1);
        std::string value;
        const size_t eq = name.find('=');
        const bool inlineValue = eq != std::string::npos;
        if (inlineValue) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        std::string* slot = name == "window-id" ? &value : name == "delay" ? &delay : name == "speed" ? &speed
                          : name == "width" ? &values[kRequestWidth] : name == "height" ? &values[kRequestHeight]
                          : name == "exits" ? &values[kRequestExits] : name == "display" ? &options.display
                          : nullptr;
        if (slot) {
            if (!inlineValue) {
                if (i + 1 == argc)
                    return usageError("--" + name + " needs a value");
                value = argv[++i];
            }
            if (name == "window-id") {
                if (!parseWindowId(value, &options.windowId))
                    return usageError("--window-id must be a window id (0x and hex digits, or decimal), not '" +
                                      value + "'");
                options.target = SaverOptions::WindowId;
            } else {
                *slot = value;
            }
            continue;
        }
        if (inlineValue)
            return usageError("unknown option '" + arg + "'");
        if (name == "help" || name == "h") {
            options.action = SaverOptions::Help;
            return options;
        }
        if (name == "version") {
            options.action = SaverOptions::Version;
            return options;
        }
        if (name == "root")
            options.target = SaverOptions::Root;
        else if (name == "window")
            options.target = SaverOptions::OwnWindow;
        else if (name == "fps")
            options.fps = true;
        else if (name == "show-exits")
            options.showExits = true;
        else
            return usageError("unknown option '" + arg + "'");
    }

    std::string err;
    long number = 0;
    if (!readNumber("--delay", delay, 0, kMaxDelayMicroseconds, &number, &err))
        return usageError(err);
    options.delayMicroseconds = number;
    if (!readNumber("--speed", speed, 1, kMaxSpeed, &number, &err))
        return usageError(err);
    options.speed = int(number);
    // Exits beyond what the mazes' size takes are dropped rather than refused,
    // so that no setting of the screensaver's sliders stops it.
    if (!readNumber("--exits", values[kRequestExits], 1, maxExits(maze::kMaxSize, maze::kMaxSize), &number, &err))
        return usageError(err);
    values[kRequestExits] = "1";
    RequestProblem problem;
    if (!checkMazeRequest(values, &options.maze, &problem))
        return usageError(std::string("--") + requestFieldName(problem.field) + " must be " + problem.rule +
                          ", not '" + problem.value + "'");
    options.maze.exits = std::min(int(number), maxExits(options.maze.width, options.maze.height));
    return options;
}

int answerSaverOptions(const SaverOptions& options)
{
    switch (options.action) {
    case SaverOptions::Help: std::fputs(kUsage, stdout); return 0;
    case SaverOptions::Version: std::printf("mazewalk %s\n", MAZE_VERSION); return 0;
    case SaverOptions::UsageError:
        std::fprintf(stderr, "mazewalk: %s\n%s", options.error.c_str(), kShortUsage);
        return 2;
    case SaverOptions::Run: break;
    }
    return 0;
}
