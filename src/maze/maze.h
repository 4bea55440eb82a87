#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// A cell position on the maze grid.
struct point2 {
    int column;
    int row;
};

// What reading a maze file did with its bytes, for tools that explain a maze:
// lines count from 1 in the text as read (CR LF is one line end).
struct MazeLayout {
    int rowLength[32] = {};        // cells stored in each row
    std::vector<int> lineLengths;  // bytes of every line read to its end, line end not counted
    int stopLine = 0;              // the first line holding a byte never read; 0 when all was read
    int stopByte = 0;              // that byte's position in its line
    int starCount = 0;             // "*" cells stored (the last one is the start)
};

// The 32 by 32 maze grid read from a text file, one line per row and one
// byte per cell, with the start cell ("*") and the exit cells ("x").
class maze {
public:
    static const int kMaxSize = 32;

    maze();

    // Fills the grid from a maze file's bytes, as a text-mode read sees them:
    // CR LF reads as LF and 0x1A ends the file. A row ends at a line end or
    // after 32 bytes (the 33rd is read and dropped); at most 32 rows are
    // read. Silent; never fails. Starts from an empty maze.
    void read(const char* bytes, size_t size, MazeLayout* layout = nullptr);
    // The same from an open stream, read from its current position.
    void read(std::FILE* file, MazeLayout* layout = nullptr);

    // Reads the file and writes "load succesful"; false, silently, when it
    // cannot be opened or is not a regular file.
    bool loadLevel(std::string fileName);

    void getSize(int& w, int& h) const;
    // The byte at (column, row); 0 outside the grid.
    char getElement(int column, int row) const;
    point2 getStart() const;
    // Exit number index in reading order; (0, 0) for an index out of range.
    point2 getExit(int index) const;
    int getExitCount() const;

private:
    template <class Source>
    void readFrom(Source& source, MazeLayout* layout);

    char grid[kMaxSize][kMaxSize];
    int width;
    int height;
    point2 start;
    std::vector<point2> exits;
};

// The line loadLevel writes after reading a maze.
inline constexpr const char* kMazeLoadedLine = "load succesful";

// Opens a maze file for reading: null when it cannot be opened or is not a
// regular file (a directory or a FIFO, say).
std::FILE* openMazeFile(const std::string& fileName);
