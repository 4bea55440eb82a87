// The program's entry point: the window, the callbacks and GLUT's loop.
#include <GL/glut.h>

#include "app/keyboard.h"
#include "app/main2.h"
#include "platform/swap_control.h"

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
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
