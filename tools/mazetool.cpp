// mazetool: the companion command line tool for people who write mazes and textures.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "commands.h"

#ifndef MAZE_VERSION
#error "MAZE_VERSION comes from the build (project version)"
#endif

namespace {

struct Command {
    const char* name;
    const char* synopsis;  // its entry in the list of commands
    int (*run)(const Args&);
    const char* help;      // what `help NAME` and `NAME --help` print
};

const Command kCommands[] = {
    {"info", "info FILE [--cells]      print size, start and exits of a maze file", infoCommand,
     "usage: mazetool info FILE [--cells]\n\n"
     "Reads FILE as the program does and prints \"size W H\", \"start C R\",\n"
     "\"exits N\" and one \"exit C R\" line per exit (columns and rows from 0).\n"
     "H counts the rows the program opens, one at each line end: a file ending in\n"
     "a line end has an empty last row, which a line in parentheses then names.\n"
     "--cells adds the 32 rows of the grid as hex bytes. Exit code 1 when FILE\n"
     "cannot be opened.\n"},
    {"check", "check FILE               list what in a maze file will surprise a player, one line\n"
              "                           each; exit code 0 playable, 1 not", checkCommand,
     "usage: mazetool check FILE\n\n"
     "Reads FILE as the program does and prints one finding a line:\n"
     "no start or no reachable exit, lines longer than 32 bytes or past the 32nd\n"
     "row, several starts, open cells on the edge, invisible walls, cells beyond\n"
     "the drawn width. Then \"N findings: playable\" or \"N findings: not playable\".\n"
     "Exit code 0 when playable, 1 when not or FILE cannot be opened.\n"},
    {"solve", "solve FILE               print the fewest key presses (w, s, a, d) from the start to\n"
              "                           an exit", solveCommand,
     "usage: mazetool solve FILE\n\n"
     "Prints one line of the keys w, s, a, d that take the walker from its start\n"
     "(facing +x) to an exit with the fewest presses; among equally short answers\n"
     "the first in the order w, s, a, d wins. Press them one at a time, letting\n"
     "each motion finish. Exit code 1 when no exit can be reached.\n"},
    {"generate", "generate [--width W] [--height H] [--seed N] [--exits K]\n"
                 "                           write a random playable maze (W, H 5..32, default 32;\n"
                 "                           no seed: a random one; K exits, default 1)\n"
                 "  generate --daily YYYY-MM-DD\n"
                 "                           write the daily maze of a UTC date", generateCommand,
     "usage: mazetool generate [--width W] [--height H] [--seed N] [--exits K]\n"
     "       mazetool generate --daily YYYY-MM-DD\n\n"
     "Writes a random maze to stdout: H lines of W bytes (5 to 32, default 32,\n"
     "border included), a border of walls, walls in the six letters, one \"*\" with\n"
     "open floor ahead of it (+x), K exits (default 1), every open cell reachable\n"
     "from the start. The same seed gives the same maze on every machine; without\n"
     "--seed a random seed is used and printed on stderr as \"seed N\".\n"
     "--daily writes that day's maze, the one the page's \"#daily=YYYY-MM-DD\" link\n"
     "opens: seed YYYYMMDD, 32 by 32, one exit. Bad values exit with 2.\n"},
    {"decode", "decode IN.bmp OUT.ppm    decode a bitmap with the program's loader, write a PPM", decodeCommand,
     "usage: mazetool decode IN.bmp OUT.ppm\n\n"
     "Decodes IN.bmp with the program's own bitmap loader and writes a binary PPM,\n"
     "top row first: exactly what the program puts on the walls. OUT.ppm must end\n"
     "in .ppm. On failure prints the loader's message and exits with 1.\n"},
    {"textures", "textures DIR             write the shipped texture bitmaps into DIR", texturesCommand,
     "usage: mazetool textures DIR\n\n"
     "Writes the seven texture bitmaps the program ships with into DIR, creating\n"
     "DIR (and the folders above it) when it is missing, and says so.\n"},
};

const char kHelpHelp[] =
    "usage: mazetool help [COMMAND]\n\n"
    "Without COMMAND lists the commands; with it prints what COMMAND does, as\n"
    "'mazetool COMMAND --help' does.\n";


void printHelp(std::FILE* out)
{
    std::fputs("usage: mazetool COMMAND [ARGS]\n\ncommands:\n", out);
    for (const Command& c : kCommands)
        std::fprintf(out, "  %s\n", c.synopsis);
    std::fputs("  help [COMMAND]           show this list, or what COMMAND does\n"
               "\n'mazetool COMMAND --help' is 'mazetool help COMMAND'.\n"
               "'mazetool --version' prints the version.\n"
               "A \"--\" ends a command's options: what follows is a file name even when it\n"
               "starts with \"-\". File names in messages are quoted as\n"
               "'ls --quoting-style=c' quotes them.\n", out);
}

const Command* findCommand(const std::string& name)
{
    for (const Command& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

bool isHelpOption(const std::string& arg)
{
    return arg == "--help" || arg == "-h";
}

// Runs the command line's command; returns its exit code.
int runCommandLine(int argc, char** argv)
{
    if (argc < 2)
        return printHelp(stderr), 2;
    const std::string name = argv[1];
    const Args args(argv + 2, argv + argc);
    if (name == "--version")
        return std::fputs("mazetool " MAZE_VERSION "\n", stdout), 0;
    if (name == "help" || isHelpOption(name)) {
        if (args.empty())
            return printHelp(stdout), 0;
        for (const std::string& a : args)
            if (isHelpOption(a))
                return std::fputs(kHelpHelp, stdout), 0;
        if (args.size() == 1 && args[0] == "help")
            return std::fputs(kHelpHelp, stdout), 0;
        const Command* c = args.size() == 1 ? findCommand(args[0]) : nullptr;
        if (!c)
            return usageError(args.size() == 1 ? "help: unknown command '" + args[0] + "'"
                                               : "help: more than one command given");
        std::fputs(c->help, stdout);
        return 0;
    }
    const Command* c = findCommand(name);
    if (!c)
        return usageError("unknown command '" + name + "'");
    // Asking for help wins over whatever else the command line holds, up to a "--".
    for (const std::string& a : splitArgs(args).options)
        if (isHelpOption(a))
            return std::fputs(c->help, stdout), 0;
    return c->run(args);
}

// Flushes and closes stdout, so that output lost to a full disk is reported.
// Returns `code`, or 1 after saying on stderr that it failed.
int finishOutput(int code)
{
    errno = 0;
    bool failed = std::fflush(stdout) != 0 || std::ferror(stdout);
    int error = errno;
    // Closing a closed stdout that nothing was written to is no failure.
    if (std::fclose(stdout) != 0 && errno != EBADF && !failed) {
        failed = true;
        error = errno;
    }
    if (!failed)
        return code;
    std::fprintf(stderr, "mazetool: cannot write standard output%s%s\n", error ? ": " : "",
                 error ? std::strerror(error) : "");
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // Every command's output is checked once here, whatever the command wrote.
    return finishOutput(runCommandLine(argc, argv));
}
