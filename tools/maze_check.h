#pragma once

#include <string>
#include <vector>

// What `mazetool check` finds in a maze file: the things that surprise a
// player, each a line that names its cell, row or line.
struct CheckReport {
    std::vector<std::string> findings;
    bool playable = false;  // a "*" exists and an exit can be reached from it
};

// Loads fileName into g_level with the program's loader (quietly) and reads
// its raw bytes again for what the loader drops. False when it cannot be opened.
bool checkMazeFile(const std::string& fileName, CheckReport& report);

// "N findings: playable" or "N findings: not playable".
std::string checkSummary(const CheckReport& report);
