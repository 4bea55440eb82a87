// libFuzzer target: arbitrary bytes as a maze file through the maze reader,
// then the grid invariants checked through the public queries. Aborts on a
// violation so libFuzzer (and the corpus replay) report it as a crash.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "maze/maze.h"
#include "maze/maze_check.h"
#include "maze/maze_grid.h"

namespace {

// What a text-mode read of the bytes stores, worked out here independently of
// the loader: CR LF reads as LF, 0x1A ends the file, a row takes at most 32
// bytes (the 33rd is read and dropped), at most 32 row passes are made.
struct Expected {
    bool hasStart = false;
    point2 start{0, 0};
    int starCount = 0;
    int exitCount = 0;
};

Expected expectedFrom(const uint8_t* data, size_t size)
{
    Expected e;
    size_t pos = 0;
    // The next byte of the text stream, or -1 at its end.
    auto next = [&]() -> int {
        if (pos >= size || data[pos] == 0x1A)
            return -1;
        if (data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n') {
            pos += 2;
            return '\n';
        }
        return data[pos++];
    };
    for (int row = 0; row < maze::kMaxSize; ++row) {
        for (int column = 0;; ++column) {
            int c = next();
            if (c < 0)
                return e;
            if (column == maze::kMaxSize || c == '\n')
                break;
            if (c == '*') {
                e.hasStart = true;
                ++e.starCount;
                e.start = point2{column, row};
            }
            if (c == 'x')
                ++e.exitCount;
        }
    }
    return e;
}

bool inGrid(point2 p, int height)
{
    return p.column >= 0 && p.column < maze::kMaxSize && p.row >= 0 && p.row < height;
}

void fail(const char* what)
{
    std::fprintf(stderr, "maze_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    maze m;
    MazeLayout layout;
    m.read(reinterpret_cast<const char*>(data), size, &layout);

    // The stream reader must store exactly what the byte reader stores.
    if (size > 0) {
        maze fromStream;
        MazeLayout streamLayout;
        std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
        if (!f)
            fail("fmemopen failed");
        fromStream.read(f, &streamLayout);
        std::fclose(f);
        for (int r = 0; r < maze::kMaxSize; ++r)
            for (int c = 0; c < maze::kMaxSize; ++c)
                if (fromStream.getElement(c, r) != m.getElement(c, r))
                    fail("the stream and byte readers store different cells");
        if (streamLayout.stopLine != layout.stopLine || streamLayout.stopByte != layout.stopByte ||
            streamLayout.lineLengths != layout.lineLengths)
            fail("the stream and byte readers record different layouts");
    }

    int width = -1, height = -1;
    m.getSize(width, height);
    if (width < 0 || width > maze::kMaxSize || height < 1 || height > maze::kMaxSize)
        fail("size out of range");

    const Expected expected = expectedFrom(data, size);
    if (layout.starCount != expected.starCount)
        fail("star count differs from the number of \"*\" stored");
    for (int r = 0; r < maze::kMaxSize; ++r)
        if (layout.rowLength[r] < 0 || layout.rowLength[r] > maze::kMaxSize ||
            (layout.rowLength[r] < maze::kMaxSize && m.getElement(layout.rowLength[r], r) != 0) ||
            (layout.rowLength[r] > 0 && r >= height))
            fail("a row's recorded length does not match its cells");
    if (m.getExitCount() != expected.exitCount)
        fail("exit count differs from the number of \"x\" read");
    for (int i = 0; i < m.getExitCount(); ++i) {
        point2 p = m.getExit(i);
        if (!inGrid(p, height))
            fail("exit outside the grid");
        if (m.getElement(p.column, p.row) != 'x')
            fail("exit cell does not hold \"x\"");
    }
    if (expected.hasStart) {
        point2 s = m.getStart();
        if (!inGrid(s, height) || m.getElement(s.column, s.row) != '*')
            fail("start is not a \"*\" cell inside the grid");
        if (s.column != expected.start.column || s.row != expected.start.row)
            fail("start is not the last \"*\" read");
    }

    // The editor's grid holds the drawn cells, and the file it writes reads
    // back as the same grid: only bytes no file can hold there become "#".
    const MazeGrid grid = gridFromBytes(reinterpret_cast<const char*>(data), size);
    if (grid.width != width || grid.height > height)
        fail("the editor's grid is not the drawn extent");
    const std::string file = gridFile(grid);
    const MazeGrid back = gridFromBytes(file.data(), file.size());
    if (back.width != grid.width || back.height != grid.height)
        fail("the editor's file reads back at another size");
    for (int r = 0; r < grid.height; ++r)
        for (int c = 0; c < grid.width; ++c) {
            const char was = grid.at(c, r);
            if (was != m.getElement(c, r))
                fail("the editor's grid differs from the loader's cells");
            const bool unwritable = was == 0 || (was == '\r' && c == grid.width - 1);
            if (back.at(c, r) != (unwritable ? '#' : was))
                fail("the editor's file reads back with another cell");
        }
    CheckReport report;
    checkMaze(m, layout, report);
    if (report.places.size() != report.findings.size())
        fail("a finding without its place");

    const int outside[] = {INT_MIN, -1, maze::kMaxSize, INT_MAX};
    for (int o : outside) {
        for (int in : {0, maze::kMaxSize - 1})
            if (m.getElement(o, in) != 0 || m.getElement(in, o) != 0)
                fail("a cell outside the grid is not 0");
        if (m.getElement(o, o) != 0)
            fail("a cell outside the grid is not 0");
    }
    return 0;
}
