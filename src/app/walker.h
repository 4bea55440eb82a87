#pragma once

#include "maze/maze.h"

// What the walker does this frame. A key starts a motion only when Idle.
enum Movement { MoveForward = 0, TurnLeft = 1, TurnRight = 2, MoveBackward = 3, Idle = 4 };

extern int g_movement;
extern point2 g_position;
extern int g_heading;  // 0 -z, 1 +x, 2 +z, 3 -x
extern float g_forwardDist;
extern float g_backwardDist;
extern int g_leftAngle;
extern int g_rightAngle;
extern float g_moveStep;
extern int g_turnStep;

// Plays one frame of the current motion; a completed step may end the program on an exit.
void updateMovement();
// Whether the cell one step away (0 forward, 1 backward) may be entered.
bool canMove(int direction);
void updatePosition(int direction);
void checkForExit();
// Whether the cell is one of the first g_exitCount exits of g_level.
bool isExitCell(point2 cell);
// Puts the walker idle on the start cell, facing +x.
void resetWalker();

// The cell one step from `from` in `direction` (0 forward, 1 backward) for a heading.
point2 stepTarget(point2 from, int heading, int direction);
