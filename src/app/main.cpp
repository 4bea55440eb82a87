// The program's entry point: the command line, the window, the callbacks and
// GLUT's loop.
#include <GL/glut.h>

#include <algorithm>
#include <cstdio>

#include "app/command_line.h"
#include "app/data_files.h"
#include "app/demo.h"
#include "app/keyboard.h"
#include "app/main2.h"
#include "app/walker.h"
#include "app/window_size.h"
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
    const WindowSize requested = line.windowSize;
    glutInit(&argc, argv);
    line = parseCommandLine(argc, argv);
    if (line.action != CommandLine::Run)
        return answerCommandLine(line);
    // An empty operand names no file: it is refused as one that cannot be opened.
    g_fileName = line.hasMazeFile ? line.mazeFile : dataFile(g_fileName);
    g_mazeFileNamed = line.hasMazeFile;
    g_congratulationBox = line.messageBox;
    g_showExits = line.showExits;
    if (line.demo && !prepareDemo(line.hasMazeFile ? g_fileName : std::string(), line.hasMazeFile))
        return 1;  // before any window

    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    // The toolkit keeps only the low bits of a large size (70000 becomes
    // 4464, 4294967297 becomes 1), and a window larger than the screen can
    // crash the GL: the size asked for is the one written, capped at the
    // screen, then at what the GL draws once its context exists.
    const WindowSize screen{(unsigned long long)std::max(glutGet(GLUT_SCREEN_WIDTH), 0),
                            (unsigned long long)std::max(glutGet(GLUT_SCREEN_HEIGHT), 0)};
    const WindowSize window = capWindowSize(requested, screen, WindowSize{});
    if (toolkitSize)
        glutInitWindowSize(int(window.width), int(window.height));
    else
        glutInitWindowSize(500, 500);
    glutCreateWindow(gstr_AppName);
    if (toolkitSize) {
        GLint dims[2] = {0, 0};
        glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
        const WindowSize viewport{(unsigned long long)std::max(dims[0], 0), (unsigned long long)std::max(dims[1], 0)};
        const WindowSize drawable = capWindowSize(window, screen, viewport);
        if (drawable.width != window.width || drawable.height != window.height)
            glutReshapeWindow(int(drawable.width), int(drawable.height));
        if (drawable.width != requested.width || drawable.height != requested.height)
            std::fputs(windowCapNote(requested, drawable, screen, viewport).c_str(), stderr);
    }
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
