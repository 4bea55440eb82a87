#pragma once

#include <string>
#include <vector>

#include "maze/maze.h"

// The grid cell a finding points at, for an editor to select: the cell it
// names, or the cell where what it names shows. -1, -1 for a finding about
// no cell (no exit, lines never read).
struct FindingPlace {
    int column = -1;
    int row = -1;
};

// What `mazetool check` and the page find in a maze file: the things that surprise a
// player, each a line that names its cell, row or line.
struct CheckReport {
    std::vector<std::string> findings;
    std::vector<FindingPlace> places;  // one per finding, in the same order
    bool playable = false;  // a "*" exists and an exit can be reached from it
    // The first `blocking` findings are why the maze cannot be played (no
    // start, no exit, no exit reachable); 0 when it is playable.
    int blocking = 0;
};

// Checks a maze read by the program's own reader, with the layout that
// reading recorded (what it dropped and left unread).
void checkMaze(const maze& m, const MazeLayout& layout, CheckReport& report);

// Reads maze file bytes as the program does and checks what it read.
CheckReport checkMazeBytes(const std::string& bytes);

// Why a maze read by the program's reader cannot be won, in checkMaze's words
// (no start, no exit, no exit reachable from the start): its blocking
// findings; none when it can be won.
std::vector<std::string> whyNotWinnable(const maze& m);

// "N findings: playable" or "N findings: not playable".
std::string checkSummary(const CheckReport& report);
