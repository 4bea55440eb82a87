// mazetool check: what in a maze file will surprise a player.
#include <cstdio>

#include "commands.h"
#include "maze/maze_check.h"

int checkCommand(const Args& args)
{
    std::string file;
    if (int usage = singleOperand(args, "check", "maze file", file))
        return usage;

    maze m;
    MazeLayout layout;
    if (!readMazeFile(file, &m, &layout))
        return 1;
    CheckReport report;
    checkMaze(m, layout, report);
    for (const std::string& f : report.findings)
        std::printf("%s\n", f.c_str());
    std::printf("%s\n", checkSummary(report).c_str());
    return report.playable ? 0 : 1;
}
