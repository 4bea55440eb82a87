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
