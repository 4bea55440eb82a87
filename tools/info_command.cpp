// mazetool info: what the program itself reads from a maze file.
#include <cstdio>

#include "commands.h"
#include "maze/maze.h"

int infoCommand(const Args& args)
{
    std::string file;
    bool cells = false;
    for (const std::string& a : args) {
        if (a == "--cells")
            cells = true;
        else if (!a.empty() && a[0] == '-')
            return usageError("info: unknown option '" + a + "'");
        else if (file.empty())
            file = a;
        else
            return usageError("info: more than one file given");
    }
    if (file.empty())
        return usageError("info: no maze file given");

    maze m;
    if (!readMazeFile(file, &m))
        return 1;
    int w, h;
    m.getSize(w, h);
    point2 s = m.getStart();
    std::printf("size %d %d\nstart %d %d\nexits %d\n", w, h, s.column, s.row, m.getExitCount());
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
