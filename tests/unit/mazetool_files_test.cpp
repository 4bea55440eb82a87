// How mazetool names files and says why it cannot open them: quoted names,
// the system's reason, "--" before names that start with "-", the folder
// `textures` creates, the output name `decode` writes, the rows `info` counts.

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "commands.h"
#include "mazetool_support.h"

namespace {

using mt::runTool;

TEST(MazetoolFiles, NamesAreQuotedAsLsQuotesThem)
{
    struct Case {
        std::string name, quoted;
    } cases[] = {
        {"maze1.dat", "\"maze1.dat\""},
        {"two words", "\"two words\""},
        {"a\nb", "\"a\\nb\""},                                  // a line end cannot split the message
        {"\x1b[31mred", "\"\\033[31mred\""},                    // nor an escape reach the terminal
        {"\a\b\f\r\t\v\x7f", "\"\\a\\b\\f\\r\\t\\v\\177\""},
        {"say \"hi\\\"", "\"say \\\"hi\\\\\\\"\""},
        {"caf\xc3\xa9 \xe2\x82\xac", "\"caf\xc3\xa9 \xe2\x82\xac\""},  // printable UTF-8 stays
        {"bad\xff\xc3", "\"bad\\377\\303\""},                   // stray and cut-short bytes
        {"\xc2\x85\xed\xa0\x80\xc0\xaf", "\"\\302\\205\\355\\240\\200\\300\\257\""},  // C1, surrogate, overlong
        {std::string("nul\0x", 5), "\"nul\\000x\""},
        {"", "\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quotedName(c.name), c.quoted) << c.quoted;
}

TEST(MazetoolFiles, WhyAFileCannotBeOpenedIsSaid)
{
    const proc::Files files = {{"maze.dat", "rrrrr\nr* xr\nrrrrr\n"}, {"-x", "rrrrr\nr* xr\nrrrrr\n"}};
    struct Case {
        std::string args;
        int code;
        std::string out, err;
    } cases[] = {
        {"check missing.dat", 1, "", "mazetool: \"missing.dat\" can not be opened: No such file or directory\n"},
        {"info .", 1, "", "mazetool: \".\" can not be opened: Is a directory\n"},
        {"solve fifo", 1, "", "mazetool: \"fifo\" can not be opened: not a regular file\n"},
        {"check 'new\nline'", 1, "", "mazetool: \"new\\nline\" can not be opened: No such file or directory\n"},
        {"decode . out.ppm", 1, "", "mazetool: decode: \".\" can not be opened: Is a directory\n"},
        // "--" ends the options, also for help.
        {"check -- -x", 0, "0 findings: playable\n", ""},
        {"solve -- -x", 0, "ww\n", ""},
        {"info -- --help", 1, "", "mazetool: \"--help\" can not be opened: No such file or directory\n"},
        {"info --cells -- -x", 0, "size 5 4\n", ""},
        {"check -x", 2, "", "mazetool: check: unknown option '-x'\n(run 'mazetool help' for usage)\n"},
        // decode writes a PPM whatever the name says, so a name must say PPM.
        {"decode x.bmp m.png", 2, "", "mazetool: decode: \"m.png\" does not end in .ppm: decode writes a PPM\n"
                                      "(run 'mazetool help' for usage)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const mt::ToolRun r = runShell("mkfifo fifo; exec '" MAZETOOL_BINARY "' " + c.args, files);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
        EXPECT_EQ(r.err, c.err);
    }
    if (geteuid() != 0) {  // root reads any file
        const mt::ToolRun r = runShell("chmod 0 maze.dat; exec '" MAZETOOL_BINARY "' check maze.dat", files);
        EXPECT_EQ(r.err, "mazetool: \"maze.dat\" can not be opened: Permission denied\n");
    }
}

// A new folder is announced (TexturesCommand tests it); an existing one is not.
TEST(MazetoolFiles, TexturesIntoAnExistingFolderCreatesNothing)
{
    const mt::ToolRun r = runTool("textures .");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), "wrote \"./metal004.bmp\"\n");
}

TEST(MazetoolFiles, InfoSaysWhatItsRowCountCounts)
{
    struct Case {
        std::string file, size;
    } cases[] = {
        {"r*x", "size 3 1\n"},
        {"r*x\n", "size 3 2\n(height 2 counts the rows the loader opened, one at each line end: 1 with cells, 1 empty)\n"},
        {"r*x\n\n", "size 3 3\n(height 3 counts the rows the loader opened, one at each line end: 1 with cells, 2 empty)\n"},
        {"r*x\n\nrr", "size 2 3\n"},  // an empty row between others is the file's own
    };
    for (const Case& c : cases) {
        const mt::ToolRun r = runTool("info m.dat", {{"m.dat", c.file}});
        EXPECT_EQ(r.out.substr(0, r.out.find("start")), c.size) << c.file;
    }
}

}  // namespace
