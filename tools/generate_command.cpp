// mazetool generate: a random maze that passes check, the same for a seed everywhere.
#include <cstdio>

#include "commands.h"
#include "maze/maze.h"
#include "maze/maze_generator.h"

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
    std::uint64_t v;
    const std::string sides = " must be a whole number from " + std::to_string(kMinSide) + " to " +
                              std::to_string(maze::kMaxSize) + " (the border included), not '";
    if (!parseRequestNumber(width, maze::kMaxSize, v) || v < std::uint64_t(kMinSide))
        return usageError("generate: --width" + sides + width + "'");
    req.width = int(v);
    if (!parseRequestNumber(height, maze::kMaxSize, v) || v < std::uint64_t(kMinSide))
        return usageError("generate: --height" + sides + height + "'");
    req.height = int(v);
    if (!parseRequestNumber(seed, UINT64_MAX, v))
        return usageError("generate: --seed must be a whole number from 0 to 18446744073709551615, not '" +
                          seed + "'");
    req.seed = v;
    int most = maxExits(req.width, req.height);
    if (!parseRequestNumber(exits, std::uint64_t(most), v) || v < 1)
        return usageError("generate: --exits must be a whole number from 1 to " + std::to_string(most) +
                          " for a " + std::to_string(req.width) + " by " + std::to_string(req.height) +
                          " maze, not '" + exits + "'");
    req.exits = int(v);

    std::string text = generateMaze(req);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
