#pragma once

#include <string>

#include "geometry/vector3.h"
#include "maze/maze.h"

// What the program is and says, whichever front end shows it.

inline constexpr const char* kAppName = "Maze: ";  // the window title, and the frame-rate title's start
inline constexpr const char* kDefaultMazeFile = "maze1.dat";
inline constexpr const char* kCongratulations = "You found the end.  Congratulations!!!!";

// The vertical fields of view "v" cycles through (nextFieldOfView), in
// degrees; entry kFirstFieldOfView is the one at start.
inline constexpr float kFieldsOfView[3] = {150.0f, 100.0f, 50.0f};
inline constexpr int kFirstFieldOfView = 1;
// The clip planes: the far one is five cells away.
inline constexpr double kNearPlane = 0.2;
inline constexpr double kFarPlane = 10.0;
inline constexpr float kEyeHeight = 0.5f;
inline constexpr float kSkyColour[4] = {0.5f, 0.5f, 1.0f, 1.0f};  // what is not covered by a cell

// "<fileName> can not be opened. Exiting program."
std::string mazeMissingLine(const std::string& fileName);

// Where the walk starts seeing from: the eye above the start cell and a point
// straight along +x from it.
void startViewpoint(point2 start, int cellSpacing, float eyeHeight, Point3* eye, Point3* look);
