// mazetool: the companion command line tool for people who write mazes and textures.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct Command {
    const char* name;
    const char* synopsis;
    int (*run)(const Args&);
};

const Command kCommands[] = {
    {"info", "info FILE [--cells]      print size, start and exits of a maze file", infoCommand},
    {"check", "check FILE               list what in a maze file will surprise a player, one line\n"
              "                           each; exit code 0 playable, 1 not", checkCommand},
    {"solve", "solve FILE               print the fewest key presses (w, s, a, d) from the start to\n"
              "                           an exit", solveCommand},
    {"generate", "generate [--width W] [--height H] [--seed N] [--exits K]\n"
                 "                           write a random playable maze (W, H 5..32, default 32;\n"
                 "                           seed default 1; K exits, default 1)", generateCommand},
    {"decode", "decode IN.bmp OUT.ppm     decode a bitmap with the program's loader, write a PPM", decodeCommand},
    {"textures", "textures DIR             write the shipped texture bitmaps into DIR", texturesCommand},
};

void printHelp(std::FILE* out)
{
    std::fputs("usage: mazetool COMMAND [ARGS]\n\ncommands:\n", out);
    for (const Command& c : kCommands)
        std::fprintf(out, "  %s\n", c.synopsis);
    std::fputs("  help                     show this list\n", out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return printHelp(stderr), 2;
    const char* name = argv[1];
    if (!std::strcmp(name, "help") || !std::strcmp(name, "--help") || !std::strcmp(name, "-h")) {
        printHelp(stdout);
        return 0;
    }
    for (const Command& c : kCommands)
        if (!std::strcmp(name, c.name))
            return c.run(Args(argv + 2, argv + argc));
    return usageError(std::string("unknown command '") + name + "'");
}
