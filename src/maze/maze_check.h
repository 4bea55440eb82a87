#pragma once

#include <string>
#include <vector>

#include "maze/maze.h"

// What `mazetool check` and the page find in a maze file: the things that surprise a
// player, each a line that names its cell, row or line.
struct CheckReport {
    std::vector<std::string> findings;
    bool playable = false;  // a "*" exists and an exit can be reached from it
    // The first `blocking` findings are why the maze cannot be played (no
    // start, no exit, no exit reachable); 0 when it is playable.
    int blocking = 0;
};

// Checks a maze read by the program's own reader, with the layout that
// reading recorded (what it dropped and left unread).
void checkMaze(const maze& m, const MazeLayout& layout, CheckReport& report);

// "N findings: playable" or "N findings: not playable".
std::string checkSummary(const CheckReport& report);
