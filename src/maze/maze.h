#pragma once

#include <string>
#include <vector>

// A cell position on the maze grid.
struct point2 {
    int column;
    int row;
};

// The 32 by 32 maze grid read from a text file, one line per row and one
// byte per cell, with the start cell ("*") and the exit cells ("x").
class maze {
public:
    static const int kMaxSize = 32;

    maze();

    // Reads the file into the grid; false only when it cannot be opened.
    bool loadLevel(std::string fileName);

    void getSize(int& w, int& h) const;
    // The byte at (column, row); 0 outside the grid.
    char getElement(int column, int row) const;
    point2 getStart() const;
    // Exit number index in reading order; (0, 0) for an index out of range.
    point2 getExit(int index) const;
    int getExitCount() const;

private:
    char grid[kMaxSize][kMaxSize];
    int width;
    int height;
    point2 start;
    std::vector<point2> exits;
};
