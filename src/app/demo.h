#pragma once

// maze --demo: the walker walks itself the shortest way to an exit, one key
// at a time through the program's own keyboardHandler, at the pace of a
// player who presses the next key as soon as a motion ends. With a maze
// file the walk ends there as any walk does; without one it goes through
// random mazes, a new one at each exit, until a key is pressed.

#include <string>

// Gets the demo ready before the window opens: solves mazeFile, or, when no
// file was given, turns on random mazes. A file that cannot be opened gets the
// program's line, a maze without a way to an exit the solver's message, both
// on stderr (a demo's stdout holds only what a walk prints); false then (the
// program ends with 1).
bool prepareDemo(const std::string& mazeFile, bool fileGiven);

// Whether prepareDemo was called: the program runs as a demo.
bool demoPrepared();

// Registers the demo's callbacks over the program's: the idle callback that
// feeds the next key whenever the walker is idle, and keyboard callbacks
// that end the program with 0 on any key. Needs prepareDemo first.
void startDemo();

// When the demo plays random mazes: puts a new one in g_level and plans its
// walk; true. Otherwise false, and g_level is untouched.
bool loadDemoMaze();

// On a found exit: when the demo plays random mazes, starts the next one
// (g_level, the walker and the camera at its start) and returns true;
// otherwise false.
bool demoNextMaze();
