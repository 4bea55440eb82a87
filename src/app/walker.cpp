#include "app/walker.h"

#include <cstdio>
#include <cstdlib>

#include "app/demo.h"
#include "app/main2.h"
#include "maze/cell_rules.h"
#include "platform/message_box.h"
#include "walker/program.h"

WalkerState& g_walker = g_session.walker;
int& g_movement = g_walker.movement;
point2& g_position = g_walker.position;
int& g_heading = g_walker.heading;
float& g_forwardDist = g_walker.forwardDist;
float& g_backwardDist = g_walker.backwardDist;
int& g_leftAngle = g_walker.leftAngle;
int& g_rightAngle = g_walker.rightAngle;
float& g_moveStep = g_session.pace.moveStep;
int& g_turnStep = g_session.pace.turnStep;
bool g_congratulationBox = false;

bool canMove(int direction)
{
    return canStep(g_level, g_position, g_heading, direction);
}

void updatePosition(int direction)
{
    g_position = stepTarget(g_position, g_heading, direction);
}

void checkForExit()
{
    if (!isExitCell(g_level, g_exitCount, g_position))
        return;
    std::printf("%s\n", kCongratulations);
    std::fflush(stdout);
    if (demoNextMaze())
        return;
    if (g_congratulationBox)
        showMessageBox(kCongratulations, "Maze");
    std::exit(0);
}

void updateMovement()
{
    if (g_session.frame() == WalkEvent::ExitReached)
        checkForExit();
}

void resetWalker()
{
    resetWalkerState(g_walker, g_start);
}
