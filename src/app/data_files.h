#pragma once

// Where the program reads its data files (the maze and the textures) from:
// the working directory first, as it always has, then the data folder of an
// install, so that an installed program runs from any folder.

#include <string>

#include "walker/data_folder.h"

// The data folder of a program installed at exePath: MAZE_DATA_FROM_BIN
// (../share/maze) taken from the executable's folder, when that folder
// exists; "" otherwise. The build tree has none.
std::string installedDataDir(const std::string& exePath);

// dataFilePath for this process: the data folder of the running executable
// (found through /proc/self/exe, once).
std::string dataFile(const std::string& name);

// The run folder of a program in its build tree (build/run beside build/maze,
// which the build fills with the shipped maze and textures), when it holds
// the shipped maze; "" otherwise.
std::string buildRunDir(const std::string& exePath);

// What a missing texture's message adds after the loader's own line, for
// the program at exePath: where textures are read from (the working
// directory, then an install's data folder), that 'mazetool textures DIR'
// writes them, and the build's run folder when there is one. Lines ending
// in a newline.
std::string missingTextureHint(const std::string& exePath);

// The line (newline ended) for stderr when maze1.dat, the maze read without
// a MAZEFILE, is missing: where it is read from, and the build's run folder
// when there is one.
std::string missingMazeHint(const std::string& exePath);

// The running program's own path (through /proc/self/exe); "" when unknown.
std::string runningProgramPath();
