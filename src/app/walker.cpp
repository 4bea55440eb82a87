#include "app/walker.h"

#include <cstdio>
#include <cstdlib>

#include "app/main2.h"

int g_movement = Idle;
point2 g_position = {0, 0};
int g_heading = 1;
float g_forwardDist = 0.0f;
float g_backwardDist = 0.0f;
int g_leftAngle = 0;
int g_rightAngle = 0;
float g_moveStep = 0.2f;
int g_turnStep = 10;

point2 stepTarget(point2 from, int heading, int direction)
{
    static const int kForward[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};  // column, row
    int sign = direction == 0 ? 1 : -1;
    return point2{from.column + sign * kForward[heading][0], from.row + sign * kForward[heading][1]};
}

bool canMove(int direction)
{
    point2 to = stepTarget(g_position, g_heading, direction);
    // Outside the grid reads as 0, which blocks like any other wall.
    char cell = g_level.getElement(to.column, to.row);
    return cell == ' ' || cell == '*' || cell == 'x';
}

void updatePosition(int direction)
{
    g_position = stepTarget(g_position, g_heading, direction);
}

bool isExitCell(point2 cell)
{
    for (int i = 0; i < g_exitCount; ++i) {
        point2 e = g_level.getExit(i);
        if (e.column == cell.column && e.row == cell.row)
            return true;
    }
    return false;
}

void checkForExit()
{
    if (isExitCell(g_position)) {
        std::printf("You found the end.  Congratulations!!!!\n");
        std::fflush(stdout);
        std::exit(0);
    }
}

namespace {

// One frame of a step; `dist` accumulates in float so the tenth slide ends
// just above the cell spacing and the eleventh frame completes the step.
void stepFrame(int direction, float& dist, float slide)
{
    if (!canMove(direction)) {
        g_movement = Idle;
        return;
    }
    if (float(g_cubeFactor) > dist) {
        g_camera.slide(0.0f, 0.0f, slide);
        dist = dist + g_moveStep;
        return;
    }
    g_movement = Idle;
    dist = 0.0f;
    updatePosition(direction);
    checkForExit();
}

void turnFrame(int& angle, int sign, int headingChange)
{
    if (angle < 90) {
        g_camera.yaw(float(sign * g_turnStep));
        angle += g_turnStep;
        return;
    }
    g_heading = (g_heading + headingChange) % 4;
    angle = 0;
    g_movement = Idle;
}

}  // namespace

void updateMovement()
{
    switch (g_movement) {
    case MoveForward: stepFrame(0, g_forwardDist, -g_moveStep); break;
    case MoveBackward: stepFrame(1, g_backwardDist, g_moveStep); break;
    case TurnRight: turnFrame(g_rightAngle, 1, 1); break;
    case TurnLeft: turnFrame(g_leftAngle, -1, 3); break;
    default: break;
    }
}

void resetWalker()
{
    g_position = g_start;
    g_heading = 1;
    g_movement = Idle;
}
