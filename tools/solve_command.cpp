// mazetool solve: the fewest key presses from the start to an exit.
#include <cstdio>

#include "commands.h"
#include "maze/maze_search.h"

int solveCommand(const Args& args)
{
    std::string file;
    if (int usage = singleOperand(args, "solve", "maze file", file))
        return usage;

    maze m;
    if (!readMazeFile(file, &m))
        return 1;
    std::string keys;
    if (!solveLevel(m, &keys)) {
        std::fprintf(stderr, "mazetool: solve: no exit can be reached from the start\n");
        return 1;
    }
    std::printf("%s\n", keys.c_str());
    return 0;
}
