// mazetool solve: the fewest key presses from the start to an exit.
#include <cstdio>

#include "app/main2.h"
#include "commands.h"
#include "maze_search.h"

int solveCommand(const Args& args)
{
    std::string file;
    if (int usage = singleOperand(args, "solve", "maze file", file))
        return usage;

    if (!loadQuietly(g_level, file)) {
        std::fprintf(stderr, "%s can not be opened.\n", file.c_str());
        return 1;
    }
    std::string keys;
    if (!solveLevel(keys)) {
        std::fprintf(stderr, "mazetool: solve: no exit can be reached from the start\n");
        return 1;
    }
    std::printf("%s\n", keys.c_str());
    return 0;
}
