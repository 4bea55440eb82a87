#include "app/command_line.h"

#include <cstdio>
#include <cstring>

#ifndef MAZE_VERSION
#error "MAZE_VERSION comes from the build (project version)"
#endif

namespace {

// freeglut's own options, which glutInit removes from argv.
bool isToolkitOption(const char* arg, bool* takesValue)
{
    *takesValue = !std::strcmp(arg, "-display") || !std::strcmp(arg, "-geometry");
    if (*takesValue)
        return true;
    for (const char* flag : {"-direct", "-indirect", "-iconic", "-gldebug", "-sync"})
        if (!std::strcmp(arg, flag))
            return true;
    return false;
}

CommandLine usageError(std::string message)
{
    CommandLine line;
    line.action = CommandLine::UsageError;
    line.error = std::move(message);
    return line;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool takesValue = false;
        if (isToolkitOption(arg, &takesValue)) {
            if (takesValue && ++i >= argc)
                return usageError(std::string("option ") + arg + " needs a value");
            if (!std::strcmp(arg, "-geometry")) {
                line.windowSize = geometrySize(argv[i]);
                line.toolkitSize = line.windowSize.width > 0 && line.windowSize.height > 0;
            }
        } else if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            line.action = CommandLine::Help;
            return line;
        } else if (!std::strcmp(arg, "--version")) {
            line.action = CommandLine::Version;
            return line;
        } else if (!std::strcmp(arg, "--demo")) {
            line.demo = true;
        } else if (!std::strcmp(arg, "--fullscreen")) {
            line.fullscreen = true;
        } else if (!std::strcmp(arg, "--message-box")) {
            line.messageBox = true;
        } else if (!std::strcmp(arg, "--show-exits")) {
            line.showExits = true;
        } else if (arg[0] == '-') {
            return usageError(std::string("unknown option '") + arg + "'");
        } else if (line.hasMazeFile) {
            return usageError("more than one maze file given");
        } else {
            line.hasMazeFile = true;
            line.mazeFile = arg;
        }
    }
    return line;
}

// The synopsis that starts the help and follows a usage error.
#define MAZE_USAGE_LINES                                                         \
    "usage: maze [--fullscreen] [--message-box] [--show-exits] [MAZEFILE]\n"        \
    "       maze --demo [--fullscreen] [--message-box] [--show-exits] [MAZEFILE]\n" \
    "       maze --help | --version\n"

const char* usageLines()
{
    return MAZE_USAGE_LINES;
}

const char* usageText()
{
    return MAZE_USAGE_LINES
           "\n"
           "Walk the maze in MAZEFILE (default maze1.dat) in first person until you find\n"
           "an exit.\n"
           "\n"
           "options:\n"
           "  --demo         the walker walks itself to the exit the shortest way; without\n"
           "                 MAZEFILE through random mazes, one after another, until a key\n"
           "                 is pressed\n"
           "  --fullscreen   fill the screen\n"
           "  --message-box  also show the congratulation in a box titled \"Maze\"\n"
           "  --show-exits   draw the exits' floor green, so they can be seen from afar\n"
           "\n"
           "keys:\n"
           "  w            one step forward\n"
           "  s            one step back\n"
           "  a, d         a quarter turn left, right\n"
           "  v, V         cycle the field of view (100, 50, 150 degrees)\n"
           "  q, Q, Esc    quit\n"
           "\n"
           "files: the maze and the textures metal004.bmp, pipes6lights.bmp,\n"
           "pipeslights.bmp, pipeslightswires.bmp, StoneWallImproved.bmp,\n"
           "RustyBricksGrate.bmp and SteelBoxFan.bmp, read from the working directory.\n"
           "An installed maze reads maze1.dat and the textures missing there from\n"
           "../share/maze beside its bin folder. MAZEFILE is read as given.\n"
           "\n"
           "X options (-display NAME, -geometry WxH+X+Y, -sync, ...) go to the toolkit;\n"
           "-geometry WxH sets the window's size (500x500 without it).\n"
           "\n"
           "exit codes: 0 after a quit key or a found exit (with --demo, any key), 1 when\n"
           "the maze or a texture cannot be read or --demo finds no way to an exit, 2 for\n"
           "a bad command line.\n";
}

const char* versionText()
{
    return "maze " MAZE_VERSION "\n";
}

int answerCommandLine(const CommandLine& line)
{
    switch (line.action) {
    case CommandLine::Help:
        std::fputs(usageText(), stdout);
        return 0;
    case CommandLine::Version:
        std::fputs(versionText(), stdout);
        return 0;
    case CommandLine::UsageError:
        std::fprintf(stderr, "maze: %s\n%s", line.error.c_str(), usageLines());
        return 2;
    case CommandLine::Run:
        break;
    }
    return 0;
}
