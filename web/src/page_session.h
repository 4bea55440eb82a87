#pragma once

#include <string>

#include "walker/walk_session.h"

// The page's one walk, owned by page_main.cpp, for the page's other entry points.
WalkSession& pageSession();

// Reads maze file bytes into the page's walk, as a maze file the user opened
// (the walk starts on it at the next web_run).
void readPageMaze(const std::string& bytes);
