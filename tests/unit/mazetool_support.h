#pragma once

// Helpers for the mazetool tests: temporary maze files, runs of the real
// binary, and a walker simulator of the test's own to check key sequences.

#include <gtest/gtest.h>

#include "temp_file.h"
#include "tool_run.h"

#include <string>
#include <vector>

namespace mt {

using ::readFile;
using ::runTool;
using ::TempFile;
using ::ToolRun;

inline std::string quoted(const std::string& s)
{
    return "'" + s + "'";
}

// The walker as a player sees it: cells by rows of a file without special
// bytes; " ", "*" and "x" can be entered; a step onto "x" ends the walk.
struct Sim {
    std::vector<std::string> rows;
    int column = 0, row = 0, heading = 1;

    explicit Sim(const std::vector<std::string>& r) : rows(r)
    {
        for (int y = 0; y < int(rows.size()); ++y)
            for (int x = 0; x < int(rows[size_t(y)].size()); ++x)
                if (rows[size_t(y)][size_t(x)] == '*')
                    column = x, row = y;  // the last "*" is the start
    }
    char at(int x, int y) const
    {
        if (y < 0 || y >= int(rows.size()) || y >= 32 || x < 0 || x >= int(rows[size_t(y)].size()) || x >= 32)
            return 0;
        return rows[size_t(y)][size_t(x)];
    }
    // One key; true when it completed a step onto an exit.
    bool press(char key)
    {
        static const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
        if (key == 'a')
            heading = (heading + 3) % 4;
        else if (key == 'd')
            heading = (heading + 1) % 4;
        if (key != 'w' && key != 's')
            return false;
        int sign = key == 'w' ? 1 : -1;
        int x = column + sign * dx[heading], y = row + sign * dy[heading];
        char c = at(x, y);
        if (c != ' ' && c != '*' && c != 'x')
            return false;
        column = x;
        row = y;
        return c == 'x';
    }
    // True when the keys end the walk on their last press and not before.
    bool walks(const std::string& keys)
    {
        for (size_t i = 0; i < keys.size(); ++i)
            if (press(keys[i]))
                return i + 1 == keys.size();
        return false;
    }
};

inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

}  // namespace mt
