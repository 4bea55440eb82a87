#pragma once

#include "geometry/camera.h"
#include "maze/maze.h"

// What the walker does this frame. A key starts a motion only when Idle.
enum Movement { MoveForward = 0, TurnLeft = 1, TurnRight = 2, MoveBackward = 3, Idle = 4 };

// The walker on the grid and the progress of its current motion.
struct WalkerState {
    int movement = Idle;
    point2 position = {0, 0};
    int heading = 1;  // 0 -z, 1 +x, 2 +z, 3 -x
    float forwardDist = 0.0f;
    float backwardDist = 0.0f;
    int leftAngle = 0;
    int rightAngle = 0;
};

// How far one frame of a motion goes.
struct WalkerPace {
    float moveStep = 0.2f;  // world units slid per frame of a step
    int turnStep = 10;      // degrees turned per frame of a turn
    int cellSpacing = 2;    // world units between cell centres
};

// Plays one frame of the current motion: slides or turns the camera, and
// after the last frame moves the walker on the grid and goes Idle. A step
// into a cell that cannot be entered goes Idle at once. Returns true when a
// step has just been completed onto one of the first `exitCount` exits.
bool playMotionFrame(WalkerState& walker, const maze& m, int exitCount, Camera& camera, const WalkerPace& pace);

// Idle on `start`, facing +x, with no motion under way.
void resetWalkerState(WalkerState& walker, point2 start);
