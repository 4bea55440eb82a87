#include "walker/key_commands.h"

KeyCommand keyCommand(unsigned char key)
{
    switch (key) {
    case 27:
    case 'q':
    case 'Q': return KeyCommand::Quit;
    case 'w': return KeyCommand::Forward;
    case 's': return KeyCommand::Backward;
    case 'a': return KeyCommand::TurnLeft;
    case 'd': return KeyCommand::TurnRight;
    case 'v':
    case 'V': return KeyCommand::CycleView;
    default: return KeyCommand::None;
    }
}

void startMotion(WalkerState& walker, KeyCommand command)
{
    if (walker.movement != Idle)
        return;
    switch (command) {
    case KeyCommand::Forward: walker.movement = MoveForward; break;
    case KeyCommand::Backward: walker.movement = MoveBackward; break;
    case KeyCommand::TurnLeft: walker.movement = TurnLeft; break;
    case KeyCommand::TurnRight: walker.movement = TurnRight; break;
    default: break;
    }
}

int nextFieldOfView(int current)
{
    return current + 1 > 2 ? 0 : current + 1;
}
