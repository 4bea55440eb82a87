#pragma once

#include "walker/walker.h"

// The program's walker: the state is g_session's WalkerState, g_walker; the
// names below are its fields and the session's pace, for the callbacks and
// the tests.
extern WalkerState& g_walker;
extern int& g_movement;
extern point2& g_position;
extern int& g_heading;  // 0 -z, 1 +x, 2 +z, 3 -x
extern float& g_forwardDist;
extern float& g_backwardDist;
extern int& g_leftAngle;
extern int& g_rightAngle;
extern float& g_moveStep;
extern int& g_turnStep;

// Plays one frame of the current motion; a completed step onto an exit ends the program.
void updateMovement();
// Whether the cell one step away (0 forward, 1 backward) may be entered.
bool canMove(int direction);
void updatePosition(int direction);
// On an exit: writes the congratulation line and ends the program with code
// 0, after showing the line in a box titled "Maze" when g_congratulationBox
// is set; a demo through random mazes goes on in the next one instead.
void checkForExit();
extern bool g_congratulationBox;
// Puts the walker idle on the start cell, facing +x.
void resetWalker();
