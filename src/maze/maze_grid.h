#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "maze/cell_kind.h"

// A maze as its author edits it: the grid the loader reads from a file, cell
// by cell, and the file that the loader reads back as the same grid.
struct MazeGrid {
    int width = 0;                // the drawn width: the last non-empty row's length
    int height = 0;               // rows up to the last one holding a cell
    std::vector<char> cells;      // row by row; 0 for a cell the file never reached

    // The byte at (column, row); 0 outside the grid.
    char at(int column, int row) const;
    // Sets the byte at (column, row); nothing outside the grid.
    void set(int column, int row, char byte);
};

// The wall a new maze's border and a grown grid's new cells are made of.
constexpr char kGridWall = cellKindByte(CellKind::WallR);

// The grid the program's loader reads from a maze file's bytes: its drawn
// width, the rows it read up to the last one that holds a cell (a last line
// end opens a row with no cell, which draws nothing), and the byte of every
// cell in between. Cells that are read but not drawn (beyond the drawn width,
// past the 32nd row or line) are not in it; the check names them.
MazeGrid gridFromBytes(const char* bytes, size_t size);

// The maze file of a grid: `height` lines of `width` bytes, each ending LF,
// which gridFromBytes reads back cell for cell. A byte no file can hold at
// its place is written as "#", another invisible wall: 0 (no byte), LF,
// 0x1A, and CR as a row's last byte (it would join the line end).
std::string gridFile(const MazeGrid& grid);

// A new maze of width by height cells (each clamped to 1 to 32): a border of
// walls around open floor, the start at column 1, row 1 and the exit in the
// opposite corner (3 by 3 has room for only one of them inside: its exit is
// in the border beside the start). Below 3 in either direction there is no
// room for a border: every cell is open, the start at 0 0 and the exit in
// the last cell. Every new maze has its start and an exit: 1 by 1, which
// has room for only one of them, is made 2 by 1.
MazeGrid newMazeGrid(int width, int height);

// The grid at a new size (each clamped to 1 to 32): the cells it shares with
// the old one keep their bytes, new cells are walls.
MazeGrid resizeGrid(const MazeGrid& grid, int width, int height);
