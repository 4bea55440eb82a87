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
// says so on stderr and returns false.
bool readMazeFile(const std::string& fileName, maze* m, MazeLayout* layout = nullptr);

// Writes "mazetool: MESSAGE" and a hint to stderr; returns the usage exit code 2.
int usageError(const std::string& message);

// Takes the one operand of a subcommand without options into `operand`
// (`what` names it in messages). Returns 0, or the usage error's exit code.
int singleOperand(const Args& args, const std::string& command, const std::string& what,
                  std::string& operand);
