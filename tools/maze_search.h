#pragma once

#include <functional>
#include <string>

#include "maze/maze.h"

// Searches over the maze the program walks, shared by check, solve and generate.

// Loads a maze file with the program's own loader, without letting the
// loader's "load succesful" line reach standard output. False when the file
// cannot be opened.
bool loadQuietly(maze& m, const std::string& fileName);

// The fewest key presses (w forward, s backward, a left turn, d right turn)
// that take the walker from the start of g_level, facing +x, to a completed
// step onto an exit, decided by the walker's own canMove and updatePosition.
// Among equally short sequences the first in the key order w, s, a, d wins.
// False when no exit can be reached. g_position and g_heading are restored.
bool solveLevel(std::string& keys);

// Step counts from `from` to every cell that can be reached by one-cell
// steps onto cells `enterable` accepts; -1 for the others. Cells outside the
// grid are never entered.
using CellTest = std::function<bool(int column, int row)>;
void reachDistances(point2 from, const CellTest& enterable, int dist[maze::kMaxSize][maze::kMaxSize]);
