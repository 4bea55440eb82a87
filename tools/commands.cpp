// What every mazetool subcommand shares: reading a maze file and usage errors.
#include "commands.h"

#include <cstdio>

#include "maze/maze.h"

bool readMazeFile(const std::string& fileName, maze* m, MazeLayout* layout)
{
    std::FILE* f = openMazeFile(fileName);
    if (!f) {
        std::fprintf(stderr, "%s can not be opened.\n", fileName.c_str());
        return false;
    }
    m->read(f, layout);
    std::fclose(f);
    return true;
}

int usageError(const std::string& message)
{
    std::fprintf(stderr, "mazetool: %s\n(run 'mazetool help' for usage)\n", message.c_str());
    return 2;
}

int singleOperand(const Args& args, const std::string& command, const std::string& what,
                  std::string& operand)
{
    operand.clear();
    for (const std::string& a : args) {
        if (!a.empty() && a[0] == '-')
            return usageError(command + ": unknown option '" + a + "'");
        if (!operand.empty())
            return usageError(command + ": more than one " + what + " given");
        operand = a;
    }
    if (operand.empty())
        return usageError(command + ": no " + what + " given");
    return 0;
}
