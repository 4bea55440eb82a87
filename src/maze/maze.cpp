#include "maze/maze.h"

#include <cstdio>
#include <cstring>

namespace {

// Reads one byte the way a text stream would: CR LF reads as LF, and 0x1A
// ends the file. Returns EOF at the end or on a read error.
class TextReader {
public:
    explicit TextReader(std::FILE* f) : file(f) {}

    int get()
    {
        if (ended)
            return EOF;
        int c = pending != kNone ? pending : std::fgetc(file);
        pending = kNone;
        if (c == EOF || c == 0x1A) {
            ended = true;
            return EOF;
        }
        if (c == '\r') {
            int next = std::fgetc(file);
            if (next == '\n')
                return '\n';
            pending = next;  // a lone CR is an ordinary byte
        }
        return c;
    }

private:
    static const int kNone = -2;
    std::FILE* file;
    int pending = kNone;
    bool ended = false;
};

}  // namespace

maze::maze() : width(0), height(0), start{0, 0}
{
    std::memset(grid, 0, sizeof grid);
}

bool maze::loadLevel(std::string fileName)
{
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f)
        return false;

    TextReader in(f);
    bool readFailed = false;
    int row = 0;
    while (!readFailed && row != kMaxSize) {
        int column = 0;
        for (;;) {
            int c = in.get();
            if (c == EOF) {
                readFailed = true;
                break;
            }
            if (column == kMaxSize || c == '\n')
                break;  // a 33rd byte is consumed and dropped
            if (c == '*')
                start = point2{column, row};
            if (c == 'x')
                exits.push_back(point2{column, row});
            grid[row][column] = char(c);
            ++column;
            width = column;
        }
        ++row;
    }
    height = row;

    std::fputs("load succesful\n", stdout);
    std::fflush(stdout);
    std::fclose(f);
    return true;
}

void maze::getSize(int& w, int& h) const
{
    w = width;
    h = height;
}

char maze::getElement(int column, int row) const
{
    if (column < 0 || column >= kMaxSize || row < 0 || row >= kMaxSize)
        return 0;
    return grid[row][column];
}

point2 maze::getStart() const
{
    return start;
}

point2 maze::getExit(int index) const
{
    if (index < 0 || index >= int(exits.size()))
        return point2{0, 0};
    return exits[index];
}

int maze::getExitCount() const
{
    return int(exits.size());
}
