// The program's entry point: the command line, the window, the callbacks and
// GLUT's loop.
#include <GL/glut.h>

#include "app/command_line.h"
#include "app/data_files.h"
#include "app/keyboard.h"
#include "app/main2.h"
#include "platform/swap_control.h"

int main(int argc, char** argv)
{
    // --help, --version and bad options are answered before glutInit, which
    // needs a display; the operand is read once glutInit has taken its options.
    CommandLine line = parseCommandLine(argc, argv);
    if (line.action != CommandLine::Run)
        return answerCommandLine(line);
    glutInit(&argc, argv);
    line = parseCommandLine(argc, argv);
    if (line.action != CommandLine::Run)
        return answerCommandLine(line);
    // An empty operand names no file: it is refused as one that cannot be opened.
    g_fileName = line.hasMazeFile ? line.mazeFile : dataFile(g_fileName);

    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(500, 500);
    glutCreateWindow(gstr_AppName);
    requestVerticalSync();
    viewInit();
    glutDisplayFunc(displayHandler);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboardHandler);
    glutMainLoop();
    return 0;
}
