// The program's entry point: the command line, the window, the callbacks and
// GLUT's loop.
#include <GL/glut.h>

#include "app/command_line.h"
#include "app/data_files.h"
#include "app/demo.h"
#include "app/keyboard.h"
#include "app/main2.h"
#include "app/walker.h"
#include "platform/swap_control.h"

int main(int argc, char** argv)
{
    // --help, --version and bad options are answered before glutInit, which
    // needs a display; the operand is read once glutInit has taken its options.
    CommandLine line = parseCommandLine(argc, argv);
    if (line.action != CommandLine::Run)
        return answerCommandLine(line);
    // glutInit takes the window size from any -geometry, even one without a
    // size (+X+Y, read as 0 by 0), so the program's 500 by 500 is asked for
    // after it unless -geometry named a size.
    const bool toolkitSize = line.toolkitSize;
    glutInit(&argc, argv);
    line = parseCommandLine(argc, argv);
    if (line.action != CommandLine::Run)
        return answerCommandLine(line);
    // An empty operand names no file: it is refused as one that cannot be opened.
    g_fileName = line.hasMazeFile ? line.mazeFile : dataFile(g_fileName);
    g_congratulationBox = line.messageBox;
    g_showExits = line.showExits;
    if (line.demo && !prepareDemo(line.hasMazeFile ? g_fileName : std::string(), line.hasMazeFile))
        return 1;  // before any window

    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    if (!toolkitSize)
        glutInitWindowSize(500, 500);
    glutCreateWindow(gstr_AppName);
    if (line.fullscreen)
        glutFullScreen();
    requestVerticalSync();
    viewInit();
    glutDisplayFunc(displayHandler);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboardHandler);
    if (line.demo)
        startDemo();
    glutMainLoop();
    return 0;
}
