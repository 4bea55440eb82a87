#include "maze/maze.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct MemorySource {
    const char* at;
    const char* end;
    int get() { return at == end ? EOF : static_cast<unsigned char>(*at++); }
};

struct StreamSource {
    std::FILE* file;
    int get() { return std::fgetc(file); }
};

// Yields the bytes the way a text stream would: CR LF reads as LF, and 0x1A
// ends the file. Returns EOF at the end or on a read error.
template <class Source>
class TextReader {
public:
    explicit TextReader(Source& s) : source(s) {}

    int get()
    {
        if (ended)
            return EOF;
        int c = pending != kNone ? pending : source.get();
        pending = kNone;
        if (c == EOF || c == 0x1A) {
            ended = true;
            return EOF;
        }
        if (c == '\r') {
            int next = source.get();
            if (next == '\n')
                return '\n';
            pending = next;  // a lone CR is an ordinary byte
        }
        return c;
    }

private:
    static const int kNone = -2;
    Source& source;
    int pending = kNone;
    bool ended = false;
};

// Counts lines and their lengths as the bytes go by.
struct LineCounter {
    MazeLayout& layout;
    int line = 1;
    int length = 0;

    void see(int c)
    {
        if (c == '\n') {
            layout.lineLengths.push_back(length);
            ++line;
            length = 0;
        } else {
            ++length;
        }
    }
};

}  // namespace

maze::maze() : width(0), height(0), start{0, 0}
{
    std::memset(grid, 0, sizeof grid);
}

template <class Source>
void maze::readFrom(Source& source, MazeLayout* layoutOut)
{
    *this = maze();
    MazeLayout layout;
    LineCounter lines{layout};
    TextReader<Source> in(source);
    bool ended = false;
    int row = 0;
    while (!ended && row != kMaxSize) {
        int column = 0;
        for (;;) {
            int c = in.get();
            if (c == EOF) {
                ended = true;
                break;
            }
            lines.see(c);
            if (column == kMaxSize || c == '\n')
                break;  // a 33rd byte is consumed and dropped
            if (c == '*') {
                start = point2{column, row};
                ++layout.starCount;
            }
            if (c == 'x')
                exits.push_back(point2{column, row});
            grid[row][column] = char(c);
            ++column;
            width = column;
            layout.rowLength[row] = column;
        }
        ++row;
    }
    height = row;

    if (!layoutOut)
        return;
    // Past the 32nd row nothing is stored; blank lines there do not matter,
    // the first other byte is where reading stopped.
    for (int c = ended ? EOF : in.get(); c != EOF; c = in.get()) {
        if (c != '\n') {
            layout.stopLine = lines.line;
            layout.stopByte = lines.length + 1;
            break;
        }
        lines.see(c);
    }
    if (!layout.stopLine && lines.length > 0)
        layout.lineLengths.push_back(lines.length);  // a last line without a line end
    *layoutOut = std::move(layout);
}

void maze::read(const char* bytes, size_t size, MazeLayout* layout)
{
    MemorySource source{bytes, bytes + size};
    readFrom(source, layout);
}

void maze::read(std::FILE* file, MazeLayout* layout)
{
    StreamSource source{file};
    readFrom(source, layout);
}

std::FILE* openMazeFile(const std::string& fileName)
{
    // O_NONBLOCK keeps a FIFO from stalling the open; it is refused below.
    int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    std::FILE* f = fdopen(fd, "rb");
    if (!f)
        close(fd);
    return f;
}

bool maze::loadLevel(std::string fileName)
{
    std::FILE* f = openMazeFile(fileName);
    if (!f)
        return false;
    read(f);
    std::fclose(f);
    std::printf("%s\n", kMazeLoadedLine);
    std::fflush(stdout);
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
