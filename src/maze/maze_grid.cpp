#include "maze/maze_grid.h"

#include <algorithm>

#include "maze/maze.h"

namespace {

const char kUnwritable = '#';

int clampSide(int side)
{
    const int most = maze::kMaxSize;  // a copy: std::min takes references
    return std::min(std::max(side, 1), most);
}

MazeGrid blankGrid(int width, int height, char fill)
{
    MazeGrid grid;
    grid.width = width;
    grid.height = height;
    grid.cells.assign(size_t(width) * size_t(height), fill);
    return grid;
}

}  // namespace

char MazeGrid::at(int column, int row) const
{
    if (column < 0 || column >= width || row < 0 || row >= height)
        return 0;
    return cells[size_t(row) * size_t(width) + size_t(column)];
}

void MazeGrid::set(int column, int row, char byte)
{
    if (column >= 0 && column < width && row >= 0 && row < height)
        cells[size_t(row) * size_t(width) + size_t(column)] = byte;
}

MazeGrid gridFromBytes(const char* bytes, size_t size)
{
    maze m;
    MazeLayout layout;
    m.read(bytes, size, &layout);
    int width, height;
    m.getSize(width, height);
    while (height > 0 && layout.rowLength[height - 1] == 0)
        --height;
    MazeGrid grid = blankGrid(width, height, 0);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            grid.set(column, row, m.getElement(column, row));
    return grid;
}

std::string gridFile(const MazeGrid& grid)
{
    std::string file;
    file.reserve(size_t(grid.width + 1) * size_t(grid.height));
    for (int row = 0; row < grid.height; ++row) {
        for (int column = 0; column < grid.width; ++column) {
            char c = grid.at(column, row);
            if (c == 0 || c == '\n' || c == 0x1A || (c == '\r' && column == grid.width - 1))
                c = kUnwritable;
            file += c;
        }
        file += '\n';
    }
    return file;
}

MazeGrid newMazeGrid(int width, int height)
{
    width = clampSide(width);
    height = clampSide(height);
    // One cell cannot hold both the start and an exit.
    if (width == 1 && height == 1)
        width = 2;
    if (width < 3 || height < 3) {
        MazeGrid grid = blankGrid(width, height, ' ');
        grid.set(width - 1, height - 1, 'x');
        grid.set(0, 0, '*');
        return grid;
    }
    MazeGrid grid = blankGrid(width, height, kGridWall);
    for (int row = 1; row < height - 1; ++row)
        for (int column = 1; column < width - 1; ++column)
            grid.set(column, row, ' ');
    if (width == 3 && height == 3)
        grid.set(2, 1, 'x');
    else
        grid.set(width - 2, height - 2, 'x');
    grid.set(1, 1, '*');
    return grid;
}

MazeGrid resizeGrid(const MazeGrid& grid, int width, int height)
{
    MazeGrid out = blankGrid(clampSide(width), clampSide(height), kGridWall);
    for (int row = 0; row < std::min(grid.height, out.height); ++row)
        for (int column = 0; column < std::min(grid.width, out.width); ++column)
            out.set(column, row, grid.at(column, row));
    return out;
}
