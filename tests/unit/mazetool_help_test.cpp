#include <gtest/gtest.h>

#include <cstring>

#include "app/command_line.h"
#include "mazetool_support.h"

namespace {

using mt::runTool;

// Both ways of asking about a command print its own text: its usage line
// first, then what it does.
TEST(MazetoolHelp, HelpCommandAndCommandHelpOptionPrintTheSameText)
{
    for (const char* command : {"info", "check", "solve", "generate", "decode", "textures", "help"}) {
        SCOPED_TRACE(command);
        auto viaHelp = runTool(std::string("help ") + command);
        EXPECT_EQ(viaHelp.code, 0);
        EXPECT_EQ(viaHelp.err, "");
        EXPECT_EQ(viaHelp.out.rfind(std::string("usage: mazetool ") + command + " ", 0), 0u) << viaHelp.out;
        EXPECT_NE(viaHelp.out.find("\n\n"), std::string::npos) << "no description:\n" << viaHelp.out;
        // Help wins over the command's own arguments, even bad ones.
        auto viaOption = runTool(std::string(command) + " --bogus --help");
        EXPECT_EQ(viaOption.code, 0) << viaOption.err;
        EXPECT_EQ(viaOption.out, viaHelp.out);
    }
    struct Case { const char* args; const char* err; } bad[] = {
        {"help frobnicate", "mazetool: help: unknown command 'frobnicate'\n"},
        {"help info check", "mazetool: help: more than one command given\n"},
    };
    for (const auto& c : bad) {
        auto r = runTool(c.args);
        EXPECT_EQ(r.code, 2) << c.args;
        EXPECT_EQ(r.err.substr(0, std::strlen(c.err)), c.err) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
}

TEST(MazetoolHelp, VersionIsTheProgramsVersion)
{
    auto r = runTool("--version");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "mazetool " + std::string(versionText()).substr(std::strlen("maze ")));
}

}  // namespace
