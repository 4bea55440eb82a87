// mazetool check: what in a maze file will surprise a player.
#include <cstdio>

#include "commands.h"
#include "maze_check.h"

int checkCommand(const Args& args)
{
    std::string file;
    for (const std::string& a : args) {
        if (!a.empty() && a[0] == '-')
            return usageError("check: unknown option '" + a + "'");
        if (!file.empty())
            return usageError("check: more than one file given");
        file = a;
    }
    if (file.empty())
        return usageError("check: no maze file given");

    CheckReport report;
    if (!checkMazeFile(file, report)) {
        std::fprintf(stderr, "%s can not be opened.\n", file.c_str());
        return 1;
    }
    for (const std::string& f : report.findings)
        std::printf("%s\n", f.c_str());
    std::printf("%s\n", checkSummary(report).c_str());
    return report.playable ? 0 : 1;
}
