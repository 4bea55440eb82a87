#include "app/keyboard.h"

#include <cstdlib>

#include "app/main2.h"

void keyboardHandler(unsigned char key, int, int)
{
    switch (g_session.key(key)) {
    case KeyCommand::Quit: std::exit(0);
    case KeyCommand::CycleView: setProjection(g_width / g_height); break;
    default: break;
    }
}
