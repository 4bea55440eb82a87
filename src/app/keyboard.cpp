#include "app/keyboard.h"

#include <cstdlib>

#include "app/main2.h"
#include "app/walker.h"
#include "walker/key_commands.h"

void keyboardHandler(unsigned char key, int, int)
{
    const KeyCommand command = keyCommand(key);
    switch (command) {
    case KeyCommand::Quit: std::exit(0);
    case KeyCommand::CycleView:
        g_FrustPos = nextFieldOfView(g_FrustPos);
        setProjection(g_width / g_height);
        break;
    default: startMotion(g_walker, command); break;
    }
}
