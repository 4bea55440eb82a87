#include "app/keyboard.h"

#include <cstdlib>

#include "app/main2.h"
#include "app/walker.h"

namespace {

void startMotion(Movement m)
{
    if (g_movement == Idle)
        g_movement = m;  // no queue: keys during a motion are dropped
}

}  // namespace

void keyboardHandler(unsigned char key, int, int)
{
    switch (key) {
    case 27:
    case 'q':
    case 'Q': std::exit(0);
    case 'w': startMotion(MoveForward); break;
    case 's': startMotion(MoveBackward); break;
    case 'a': startMotion(TurnLeft); break;
    case 'd': startMotion(TurnRight); break;
    case 'v':
    case 'V':
        g_FrustPos = g_FrustPos + 1 > 2 ? 0 : g_FrustPos + 1;
        setProjection(g_width / g_height);
        break;
    default: break;
    }
}
