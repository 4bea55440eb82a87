#include "random_maze.h"

#include <cstdint>

#include "maze/maze.h"
#include "maze/maze_generator.h"

bool randomMazeFromFragment(const std::string& fragment, std::string* text, std::string* err)
{
    std::string values[4];  // seed, width, height, exits
    bool given[4] = {false, false, false, false};
    static const char* const kNames[4] = {"seed", "width", "height", "exits"};
    size_t at = !fragment.empty() && fragment[0] == '#' ? 1 : 0;
    while (at <= fragment.size()) {
        size_t end = fragment.find('&', at);
        if (end == std::string::npos)
            end = fragment.size();
        const std::string pair = fragment.substr(at, end - at);
        at = end + 1;
        if (pair.empty())
            continue;
        const size_t eq = pair.find('=');
        const std::string name = pair.substr(0, eq);
        int slot = -1;
        for (int i = 0; i < 4; ++i)
            if (name == kNames[i])
                slot = i;
        if (slot < 0 || eq == std::string::npos || given[slot]) {
            *err = "The link's random maze is not understood: \"" + pair + "\".";
            return false;
        }
        given[slot] = true;
        values[slot] = pair.substr(eq + 1);
    }
    if (!given[0]) {
        *err = "The link's random maze has no seed.";
        return false;
    }

    MazeRequest request;
    std::uint64_t v = 0;
    const std::string sides = " must be a whole number from " + std::to_string(kMinSide) + " to " +
                              std::to_string(maze::kMaxSize) + ", not \"";
    if (!parseRequestNumber(values[0], UINT64_MAX, v)) {
        *err = "The link's seed must be a whole number from 0 to 18446744073709551615, not \"" + values[0] + "\".";
        return false;
    }
    request.seed = v;
    for (int slot = 1; slot <= 2; ++slot) {
        if (!given[slot])
            continue;
        if (!parseRequestNumber(values[slot], maze::kMaxSize, v) || v < std::uint64_t(kMinSide)) {
            *err = std::string("The link's ") + kNames[slot] + sides + values[slot] + "\".";
            return false;
        }
        (slot == 1 ? request.width : request.height) = int(v);
    }
    if (given[3]) {
        const int most = maxExits(request.width, request.height);
        if (!parseRequestNumber(values[3], std::uint64_t(most), v) || v < 1) {
            *err = "The link's exits must be a whole number from 1 to " + std::to_string(most) + " for a " +
                   std::to_string(request.width) + " by " + std::to_string(request.height) + " maze, not \"" +
                   values[3] + "\".";
            return false;
        }
        request.exits = int(v);
    }
    *text = generateMaze(request);
    return true;
}
