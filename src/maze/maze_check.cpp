#include "maze/maze_check.h"

#include <algorithm>
#include <cstdio>

#include "maze/cell_rules.h"
#include "maze/maze_search.h"

namespace {

const int N = maze::kMaxSize;

std::string cellName(int column, int row)
{
    return "cell " + std::to_string(column) + " " + std::to_string(row);
}

std::string byteName(char c)
{
    unsigned u = static_cast<unsigned char>(c);
    char buf[32];
    if (u > 0x20 && u < 0x7f)
        std::snprintf(buf, sizeof buf, "byte 0x%02x \"%c\"", u, c);
    else
        std::snprintf(buf, sizeof buf, "byte 0x%02x", u);
    return buf;
}

// Adds, through add(text, column, row), why the maze cannot be won: no
// start, no exit, or no exit reachable from the start. True when it can.
template <class Add>
bool blockingFindings(const maze& m, int stars, Add add)
{
    const point2 start = m.getStart();
    if (stars == 0)
        add("no start (\"*\"): the walker starts at cell 0 0", 0, 0);
    std::string keys;
    const bool reachable = solveLevel(m, &keys);
    if (m.getExitCount() == 0)
        add("no exit (\"x\")", -1, -1);
    else if (!reachable)
        add("no exit reachable from the start", start.column, start.row);
    return stars > 0 && reachable;
}

}  // namespace

std::vector<std::string> whyNotWinnable(const maze& m)
{
    int stars = 0;
    for (int row = 0; row < N; ++row)
        for (int column = 0; column < N; ++column)
            stars += m.getElement(column, row) == '*';
    std::vector<std::string> why;
    blockingFindings(m, stars, [&why](std::string text, int, int) { why.push_back(std::move(text)); });
    return why;
}

void checkMaze(const maze& m, const MazeLayout& layout, CheckReport& report)
{
    report.findings.clear();
    report.places.clear();
    auto add = [&report](std::string text, int column = -1, int row = -1) {
        report.findings.push_back(std::move(text));
        report.places.push_back(FindingPlace{column, row});
    };
    int width, height;
    m.getSize(width, height);

    const point2 start = m.getStart();
    report.playable = blockingFindings(m, layout.starCount, add);
    report.blocking = int(report.findings.size());

    // Each row takes 32 bytes and drops the 33rd, so a line of L bytes
    // fills L / 33 + 1 rows; a long line points at the row it wraps into.
    int lineRow = 0;
    for (size_t i = 0; i < layout.lineLengths.size(); ++i) {
        int line = int(i) + 1;
        if (layout.stopLine && line >= layout.stopLine)
            break;
        int length = layout.lineLengths[i];
        if (length > N)
            add("line " + std::to_string(line) + ": " + std::to_string(length) +
                    " bytes, longer than 32: byte 33 is dropped and what follows starts a new row",
                0, std::min(lineRow + 1, N - 1));
        lineRow += length / (N + 1) + 1;
    }
    if (layout.stopLine) {
        std::string where = "line " + std::to_string(layout.stopLine);
        if (layout.stopByte > 1)
            where += " from byte " + std::to_string(layout.stopByte) + " on";
        add(where + ", and every line after it: not read (only 32 rows are read)");
    }

    // Nothing is drawn beside an open cell whose neighbour lies outside the
    // grid, beyond the drawn width or height, or was never filled by the file.
    auto voidAt = [&](int c, int r) {
        return c < 0 || r < 0 || c >= width || r >= height || c >= layout.rowLength[r];
    };
    for (int r = 0; r < height; ++r) {
        int stored = layout.rowLength[r];
        for (int c = 0; c < width && c < stored; ++c) {
            char cell = m.getElement(c, r);
            if (cell == '*' && !(c == start.column && r == start.row))
                add(cellName(c, r) + ": another \"*\": the start is the last one, " +
                        cellName(start.column, start.row), c, r);
            if (isOpenCell(cell) && (voidAt(c - 1, r) || voidAt(c + 1, r) || voidAt(c, r - 1) || voidAt(c, r + 1)))
                add(cellName(c, r) + ": open cell on the edge of the grid, no wall is drawn beside it", c, r);
            if (!cellRowOf(cell).drawn)  // open cells are drawn as floor, so this one blocks
                add(cellName(c, r) + ": invisible wall (" + byteName(cell) + ")", c, r);
        }
        if (stored > width)
            add("row " + std::to_string(r) + ", columns " + std::to_string(width) + " to " +
                    std::to_string(stored - 1) + ": not drawn, beyond the drawn width " + std::to_string(width) +
                    " (the length of the last non-empty row)",
                width - 1, r);
    }
}

std::string checkSummary(const CheckReport& report)
{
    size_t n = report.findings.size();
    return std::to_string(n) + (n == 1 ? " finding: " : " findings: ") +
           (report.playable ? "playable" : "not playable");
}

CheckReport checkMazeBytes(const std::string& bytes)
{
    maze m;
    MazeLayout layout;
    m.read(bytes.data(), bytes.size(), &layout);
    CheckReport report;
    checkMaze(m, layout, report);
    return report;
}
