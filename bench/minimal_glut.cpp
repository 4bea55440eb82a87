// The baseline the maze's frame rate is compared with: the same kind of
// window (double-buffered RGB with depth, 500 by 500) that only clears and
// swaps, asking for the next frame from each one as the maze does.
#include <GL/glut.h>

namespace {

void display()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutPostRedisplay();
    glutSwapBuffers();
    glFlush();
}

}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(500, 500);
    glutCreateWindow("minimal");
    glClearColor(0.5f, 0.5f, 1.0f, 1.0f);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
