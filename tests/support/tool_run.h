#pragma once

// Runs of the real mazetool (MAZETOOL_BINARY, defined by the test target) and
// of other commands, and reading files back, for tests of every kind.

#include <string>

#include "process.h"

using proc::readFile;

struct ToolRun {
    int code = -1;  // exit code, -1 if it did not exit normally
    std::string out, err;
};

// Runs the shell command in a fresh temporary folder holding the files, with
// stdin from /dev/null, and waits for it.
inline ToolRun runShell(const std::string& command, const proc::Files& files = {})
{
    proc::Program shell("/bin/sh", {"-c", command}, files);
    proc::ExitStatus status;
    ToolRun r;
    if (shell.start() && shell.waitExit(600, &status) && status.exited)
        r.code = status.code;
    r.out = shell.out();
    r.err = shell.err();
    return r;
}

// runShell of mazetool with the arguments (shell words, quoted where needed).
inline ToolRun runTool(const std::string& args, const proc::Files& files = {})
{
    return runShell(std::string("exec '") + MAZETOOL_BINARY + "' " + args, files);
}
