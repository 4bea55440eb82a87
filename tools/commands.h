#pragma once

#include <string>
#include <vector>

// One mazetool subcommand: gets the arguments after its name, returns the
// exit code (0 success, 1 failure, 2 usage error).
using Args = std::vector<std::string>;

int infoCommand(const Args& args);
int checkCommand(const Args& args);
int solveCommand(const Args& args);
int generateCommand(const Args& args);
int decodeCommand(const Args& args);
int texturesCommand(const Args& args);

class maze;
struct MazeLayout;

// Reads a maze file with the program's reader; when it cannot be opened,
// says so and why on stderr and returns false.
bool readMazeFile(const std::string& fileName, maze* m, MazeLayout* layout = nullptr);

// A file name as printed in messages, as `ls --quoting-style=c` prints it:
// in double quotes, with \" and \\, C escapes (\n, \t, ...) for control
// characters, and \ooo for any other byte that is not printable ASCII or
// part of a printable UTF-8 character.
std::string quotedName(const std::string& name);

// Why the file cannot be opened for reading as a regular file: strerror's
// text ("No such file or directory", "Is a directory", "Permission
// denied", ...) or "not a regular file"; "" when it can be.
std::string whyUnreadable(const std::string& fileName);

// The arguments' options and operands: everything up to a "--" that starts
// with "-" (but "-" alone) is an option, the rest are operands.
struct SplitArgs {
    Args options;
    Args operands;
};
SplitArgs splitArgs(const Args& args);

// Writes "mazetool: MESSAGE" and a hint to stderr; returns the usage exit code 2.
int usageError(const std::string& message);

// Takes the one operand of a subcommand without options into `operand`
// (`what` names it in messages). Returns 0, or the usage error's exit code.
int singleOperand(const Args& args, const std::string& command, const std::string& what,
                  std::string& operand);
