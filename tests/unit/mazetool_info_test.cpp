#include <gtest/gtest.h>

#include "mazetool_support.h"

namespace {

using mt::runTool;
using mt::TempFile;

TEST(MazetoolInfo, PrintsWhatTheLoaderRead)
{
    TempFile maze("rrrr\r\nx*xr\nr  r\n");
    auto r = runTool("info " + mt::quoted(maze.path));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "size 4 4\n"
                     "(height 4 counts the rows the loader opened, one at each line end: 3 with cells, 1 empty)\n"
                     "start 1 1\nexits 2\nexit 0 1\nexit 2 1\n");
    EXPECT_EQ(r.err, "");
}

TEST(MazetoolInfo, CellsAreThirtyTwoRowsOfHex)
{
    TempFile maze(std::string("ab\n\x01\xff", 5));
    auto r = runTool("info --cells " + mt::quoted(maze.path));
    ASSERT_EQ(r.code, 0) << r.err;
    auto lines = mt::splitLines(r.out);
    ASSERT_EQ(lines.size(), 3u + 32u);  // size, start, exits, then the rows
    const std::string zeros(64, '0');
    EXPECT_EQ(lines[3], "6162" + zeros.substr(4));
    EXPECT_EQ(lines[4], "01ff" + zeros.substr(4));
    for (size_t i = 5; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], zeros) << "row " << i - 3;
}

TEST(MazetoolInfo, FailuresAndUsage)
{
    struct Case { std::string args; int code; std::string err; } cases[] = {
        {"info /nonexistent/m.dat", 1, "mazetool: \"/nonexistent/m.dat\" can not be opened: No such file or directory\n"},
        {"info", 2, "mazetool: info: no maze file given\n"},
        {"info a b", 2, "mazetool: info: more than one file given\n"},
        {"info --bogus x", 2, "mazetool: info: unknown option '--bogus'\n"},
        {"frobnicate", 2, "mazetool: unknown command 'frobnicate'\n"},
    };
    for (const auto& c : cases) {
        auto r = runTool(c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
    for (const char* help : {"help", "--help"}) {
        auto r = runTool(help);
        EXPECT_EQ(r.code, 0);
        for (const char* sub : {"info", "check", "solve", "generate", "decode", "textures"})
            EXPECT_NE(r.out.find(std::string("  ") + sub + " "), std::string::npos) << sub;
    }
}

}  // namespace
