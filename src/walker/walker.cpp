#include "walker/walker.h"

#include "maze/cell_rules.h"

namespace {

// One frame of a step; `dist` accumulates in float so the tenth slide ends
// just above the cell spacing and the eleventh frame completes the step.
bool stepFrame(WalkerState& w, const maze& m, int exitCount, Camera& camera, const WalkerPace& pace, int direction,
               float& dist, float slide)
{
    if (!canStep(m, w.position, w.heading, direction)) {
        w.movement = Idle;
        return false;
    }
    if (float(pace.cellSpacing) > dist) {
        camera.slide(0.0f, 0.0f, slide);
        dist = dist + pace.moveStep;
        return false;
    }
    w.movement = Idle;
    dist = 0.0f;
    w.position = stepTarget(w.position, w.heading, direction);
    return isExitCell(m, exitCount, w.position);
}

void turnFrame(WalkerState& w, Camera& camera, const WalkerPace& pace, int& angle, int sign, int headingChange)
{
    if (angle < 90) {
        camera.yaw(float(sign * pace.turnStep));
        angle += pace.turnStep;
        return;
    }
    w.heading = (w.heading + headingChange) % 4;
    angle = 0;
    w.movement = Idle;
}

}  // namespace

bool playMotionFrame(WalkerState& w, const maze& m, int exitCount, Camera& camera, const WalkerPace& pace)
{
    switch (w.movement) {
    case MoveForward: return stepFrame(w, m, exitCount, camera, pace, 0, w.forwardDist, -pace.moveStep);
    case MoveBackward: return stepFrame(w, m, exitCount, camera, pace, 1, w.backwardDist, pace.moveStep);
    case TurnRight: turnFrame(w, camera, pace, w.rightAngle, 1, 1); return false;
    case TurnLeft: turnFrame(w, camera, pace, w.leftAngle, -1, 3); return false;
    default: return false;
    }
}

void resetWalkerState(WalkerState& w, point2 start)
{
    // The motion's progress too: a walk restarted mid-step must not finish
    // the old step's distance on its first new one.
    w = WalkerState{};
    w.position = start;
}
