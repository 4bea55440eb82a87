#include "maze_check.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/main2.h"
#include "maze_search.h"
#include "render/maze_renderer.h"

namespace {

const int N = maze::kMaxSize;

// Where the loader put the file's bytes: what a text read gives, replayed
// through the loader's row passes so that dropped and unread bytes show up.
struct RawLayout {
    std::vector<int> lineLengths;  // bytes per line, LF not counted
    int rowLength[N] = {};         // cells stored in each row
    int firstUnreadLine = 0;       // 1-based; 0 when everything was read
    int firstUnreadByte = 0;       // 1-based position in that line
};

// The bytes a text read of the file yields: CR LF becomes LF, 0x1A ends it.
std::string textBytes(const std::string& raw)
{
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\x1a')
            break;
        if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;  // the LF that follows stands for both
        text += c;
    }
    return text;
}

void layOut(const std::string& text, RawLayout& out)
{
    int length = 0;
    for (char c : text) {
        if (c == '\n') {
            out.lineLengths.push_back(length);
            length = 0;
        } else {
            ++length;
        }
    }
    if (length > 0)
        out.lineLengths.push_back(length);

    // The loader's row passes: a row ends at LF or after 32 cells, when the
    // byte that follows is consumed and dropped; 32 passes at most.
    size_t i = 0;
    int line = 1, lineStart = 0;
    bool ended = false;
    for (int row = 0; !ended && row < N; ++row) {
        for (int column = 0;; ++column) {
            if (i == text.size()) {
                ended = true;
                break;
            }
            char c = text[i++];
            if (c == '\n') {
                ++line;
                lineStart = int(i);
            }
            if (column == N || c == '\n')
                break;
            out.rowLength[row] = column + 1;
        }
    }
    // What is left after 32 rows is never read; blank lines do not matter.
    for (; i < text.size(); ++i) {
        if (text[i] != '\n') {
            out.firstUnreadLine = line;
            out.firstUnreadByte = int(i) - lineStart + 1;
            return;
        }
        ++line;
        lineStart = int(i) + 1;
    }
}

bool isOpen(char c)
{
    return c == ' ' || c == '*' || c == 'x';
}

// Whether the renderer draws anything for the byte: the floor or a wall cube.
bool isDrawn(char c)
{
    CellLook look;
    return cellLook(c, look);
}

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

}  // namespace

bool checkMazeFile(const std::string& fileName, CheckReport& report)
{
    g_level = maze();
    if (!loadQuietly(g_level, fileName))
        return false;
    std::ifstream in(fileName, std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RawLayout layout;
    layOut(textBytes(raw), layout);

    std::vector<std::string>& out = report.findings;
    out.clear();
    int width, height;
    g_level.getSize(width, height);

    int stars = 0;
    for (int r = 0; r < N; ++r)
        for (int c = 0; c < N; ++c)
            stars += g_level.getElement(c, r) == '*';
    point2 start = g_level.getStart();
    if (stars == 0)
        out.push_back("no start (\"*\"): the walker starts at cell 0 0");

    std::string keys;
    bool reachable = solveLevel(keys);
    if (g_level.getExitCount() == 0)
        out.push_back("no exit (\"x\")");
    else if (!reachable)
        out.push_back("no exit reachable from the start");
    report.playable = stars > 0 && reachable;

    for (size_t i = 0; i < layout.lineLengths.size(); ++i) {
        int line = int(i) + 1;
        if (layout.firstUnreadLine && line >= layout.firstUnreadLine)
            break;
        int length = layout.lineLengths[i];
        if (length > N)
            out.push_back("line " + std::to_string(line) + ": " + std::to_string(length) +
                          " bytes, longer than 32: byte 33 is dropped and what follows starts a new row");
    }
    if (layout.firstUnreadLine) {
        std::string where = "line " + std::to_string(layout.firstUnreadLine);
        if (layout.firstUnreadByte > 1)
            where += " from byte " + std::to_string(layout.firstUnreadByte) + " on";
        out.push_back(where + ", and every line after it: not read (only 32 rows are read)");
    }

    // Nothing is drawn beside an open cell whose neighbour lies outside the
    // grid, beyond the drawn width or height, or was never filled by the file.
    auto voidAt = [&](int c, int r) {
        return c < 0 || r < 0 || c >= width || r >= height || c >= layout.rowLength[r];
    };
    for (int r = 0; r < height; ++r) {
        int stored = layout.rowLength[r];
        for (int c = 0; c < width && c < stored; ++c) {
            char cell = g_level.getElement(c, r);
            if (cell == '*' && !(c == start.column && r == start.row))
                out.push_back(cellName(c, r) + ": another \"*\": the start is the last one, " +
                              cellName(start.column, start.row));
            if (isOpen(cell) && (voidAt(c - 1, r) || voidAt(c + 1, r) || voidAt(c, r - 1) || voidAt(c, r + 1)))
                out.push_back(cellName(c, r) + ": open cell on the edge of the grid, no wall is drawn beside it");
            if (!isDrawn(cell))  // open cells are drawn as floor, so this one blocks
                out.push_back(cellName(c, r) + ": invisible wall (" + byteName(cell) + ")");
        }
        if (stored > width)
            out.push_back("row " + std::to_string(r) + ", columns " + std::to_string(width) + " to " +
                          std::to_string(stored - 1) + ": not drawn, beyond the drawn width " +
                          std::to_string(width) + " (the length of the last non-empty row)");
    }
    return true;
}

std::string checkSummary(const CheckReport& report)
{
    size_t n = report.findings.size();
    return std::to_string(n) + (n == 1 ? " finding: " : " findings: ") +
           (report.playable ? "playable" : "not playable");
}
