#pragma once

// Where a program reads its data files (the maze and the textures) from: the
// working directory first, then the data folder of its install, found from
// the executable's own folder so that an install can be moved.

#include <string>

// The folder `relative` (such as "../share/maze") taken from the folder of
// the executable at exePath, when it exists; "" otherwise (a build tree).
std::string dataFolderBeside(const std::string& exePath, const std::string& relative);

// The file to open for the data file `name`: name itself, relative to the
// working directory, when it exists there or dataDir ("" for none) has no
// copy of it; otherwise dataDir's copy.
std::string dataFilePath(const std::string& name, const std::string& dataDir);
