#pragma once

#include <cstdint>
#include <string>

// Random mazes in the maze file format, the same for a seed on every machine.
struct MazeRequest {
    int width = 32;   // cells per line, border included: kMinSide..32
    int height = 32;  // lines, border included: kMinSide..32
    std::uint64_t seed = 1;
    int exits = 1;    // 1..maxExits(width, height)
};

const int kMinSide = 5;

// A plain decimal number with no sign, up to `max`, as a request's values
// are written; false for anything else.
bool parseRequestNumber(const std::string& text, std::uint64_t max, std::uint64_t& value);

// The most exits a maze of this size can take without an exit cutting off
// any other open cell: one per wall between rooms left closed, plus one.
int maxExits(int width, int height);

// `height` lines of `width` bytes, each ending in LF: a border of walls,
// walls in the six drawn letters, one "*" and the requested number of "x";
// every open cell can be walked to from the start without stepping on an
// exit. The request must be valid.
std::string generateMaze(const MazeRequest& request);
