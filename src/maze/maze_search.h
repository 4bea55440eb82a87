#pragma once

#include <functional>
#include <string>

#include "maze/maze.h"

// Searches over the maze the program walks, shared by check, solve and generate.

// The fewest key presses (w forward, s backward, a left turn, d right turn)
// that take the walker from the maze's start, facing +x, to a completed
// step onto an exit, by the walker's own step rule. Among equally short
// sequences the first in the key order w, s, a, d wins. False when no exit
// can be reached.
bool solveLevel(const maze& m, std::string* keys);

// The same from any cell and heading (0 -z, 1 +x, 2 +z, 3 -x): what a walker
// standing there, idle, has left to press.
bool solveFrom(const maze& m, point2 from, int heading, std::string* keys);

// Step counts from `from` to every cell that can be reached by one-cell
// steps onto cells `enterable` accepts; -1 for the others. Cells outside the
// grid are never entered.
using CellTest = std::function<bool(int column, int row)>;
void reachDistances(point2 from, const CellTest& enterable, int dist[maze::kMaxSize][maze::kMaxSize]);
