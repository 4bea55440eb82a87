// mazetool info: what the program itself reads from a maze file.
#include <cstdio>

#include "commands.h"
#include "maze/maze.h"

int infoCommand(const Args& args)
{
    const SplitArgs split = splitArgs(args);
    bool cells = false;
    for (const std::string& a : split.options) {
        if (a != "--cells")
            return usageError("info: unknown option '" + a + "'");
        cells = true;
    }
    if (split.operands.size() > 1)
        return usageError("info: more than one file given");
    if (split.operands.empty())
        return usageError("info: no maze file given");
    const std::string& file = split.operands[0];

    maze m;
    MazeLayout layout;
    if (!readMazeFile(file, &m, &layout))
        return 1;
    int w, h;
    m.getSize(w, h);
    point2 s = m.getStart();
    std::printf("size %d %d\n", w, h);
    // A last line end opens a row the file puts no cell in, which the
    // editor leaves out: say so where the two counts differ.
    int filled = h;
    while (filled > 0 && layout.rowLength[filled - 1] == 0)
        --filled;
    if (filled < h)
        std::printf("(height %d counts the rows the loader opened, one at each line end: %d with cells, %d empty)\n",
                    h, filled, h - filled);
    std::printf("start %d %d\nexits %d\n", s.column, s.row, m.getExitCount());
    for (int i = 0; i < m.getExitCount(); ++i) {
        point2 e = m.getExit(i);
        std::printf("exit %d %d\n", e.column, e.row);
    }
    if (cells) {
        for (int row = 0; row < maze::kMaxSize; ++row) {
            for (int column = 0; column < maze::kMaxSize; ++column)
                std::printf("%02x", unsigned(static_cast<unsigned char>(m.getElement(column, row))));
            std::putchar('\n');
        }
    }
    return 0;
}
