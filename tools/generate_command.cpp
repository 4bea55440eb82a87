// mazetool generate: a random maze that passes check, the same for a seed everywhere.
#include <cstdio>

#include "commands.h"
#include "maze/maze.h"
#include "maze/maze_request.h"

int generateCommand(const Args& args)
{
    std::string width = "32", height = "32", seed = "1", exits = "1";
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        size_t eq = name.find('=');
        bool inlineValue = name.compare(0, 2, "--") == 0 && eq != std::string::npos;
        if (inlineValue) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        std::string* slot = name == "--width" ? &width : name == "--height" ? &height
                          : name == "--seed" ? &seed : name == "--exits" ? &exits : nullptr;
        if (!slot) {
            if (!name.empty() && name[0] == '-')
                return usageError("generate: unknown option '" + name + "'");
            return usageError("generate: unexpected argument '" + name + "'");
        }
        if (!inlineValue) {
            if (i + 1 == args.size())
                return usageError("generate: " + name + " needs a value");
            value = args[++i];
        }
        *slot = value;
    }

    MazeRequest req;
    RequestProblem problem;
    const std::string values[kRequestFieldCount] = {width, height, seed, exits};
    if (!checkMazeRequest(values, &req, &problem))
        return usageError(std::string("generate: --") + requestFieldName(problem.field) + " must be " + problem.rule +
                          ", not '" + problem.value + "'");

    std::string text = generateMaze(req);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
