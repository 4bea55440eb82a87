#include "platform/message_box.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void* const kFont = GLUT_BITMAP_HELVETICA_12;
const int kLineHeight = 16, kMargin = 20, kButtonWidth = 80, kButtonHeight = 26;

// State of the one box that can be up at a time.
std::vector<std::string> g_lines;
int g_boxWidth = 0, g_boxHeight = 0;
bool g_dismissed = false;
bool g_closedByUser = false;

// The OK button, in window coordinates with y growing downwards.
int buttonLeft() { return (g_boxWidth - kButtonWidth) / 2; }
int buttonTop() { return g_boxHeight - kMargin / 2 - kButtonHeight; }

void drawText(int x, int yFromTop, const std::string& text)
{
    glRasterPos2i(x, g_boxHeight - yFromTop);
    for (char c : text)
        glutBitmapCharacter(kFont, c);
}

void display()
{
    glViewport(0, 0, g_boxWidth, g_boxHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, g_boxWidth, 0, g_boxHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glClearColor(0.94f, 0.94f, 0.94f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glColor3f(0.0f, 0.0f, 0.0f);
    for (size_t i = 0; i < g_lines.size(); ++i)
        drawText(kMargin, kMargin + 12 + int(i) * kLineHeight, g_lines[i]);

    const int left = buttonLeft(), bottom = g_boxHeight - buttonTop() - kButtonHeight;
    glColor3f(0.85f, 0.85f, 0.85f);
    glRecti(left, bottom, left + kButtonWidth, bottom + kButtonHeight);
    glColor3f(0.3f, 0.3f, 0.3f);
    glBegin(GL_LINE_LOOP);
    glVertex2i(left, bottom);
    glVertex2i(left + kButtonWidth, bottom);
    glVertex2i(left + kButtonWidth, bottom + kButtonHeight);
    glVertex2i(left, bottom + kButtonHeight);
    glEnd();
    glColor3f(0.0f, 0.0f, 0.0f);
    const unsigned char ok[] = "OK";
    drawText(left + (kButtonWidth - glutBitmapLength(kFont, ok)) / 2, buttonTop() + 17, "OK");

    glFlush();
    glutSwapBuffers();
}

void reshape(int w, int h)
{
    g_boxWidth = w;
    g_boxHeight = h;
}

void keyboard(unsigned char key, int, int)
{
    if (key == '\r' || key == '\n' || key == ' ' || key == 27)
        g_dismissed = true;
}

void mouse(int button, int state, int x, int y)
{
    if (button == GLUT_LEFT_BUTTON && state == GLUT_UP && x >= buttonLeft() && x < buttonLeft() + kButtonWidth &&
        y >= buttonTop() && y < buttonTop() + kButtonHeight)
        g_dismissed = true;
}

// freeglut aborts the first time its event loop meets a window without a
// display callback, and the program's window has none yet while it loads its
// textures; this one stands in. A callback registered afterwards replaces it.
void ownerDisplay() {}

void windowClosed()
{
    // freeglut destroys the window itself after this callback.
    g_closedByUser = true;
    g_dismissed = true;
}

void showModal(const std::string& text, const char* caption)
{
    g_lines.clear();
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        g_lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    while (!g_lines.empty() && g_lines.back().empty())
        g_lines.pop_back();
    int textWidth = 0;
    for (const std::string& line : g_lines)
        textWidth = std::max(textWidth, glutBitmapLength(kFont, reinterpret_cast<const unsigned char*>(line.c_str())));

    // Window creation reads the init-time settings: save them, set ours, restore.
    const int previousWindow = glutGetWindow();
    const int previousAction = glutGet(GLUT_ACTION_ON_WINDOW_CLOSE);
    const unsigned previousMode = unsigned(glutGet(GLUT_INIT_DISPLAY_MODE));
    const int previousX = glutGet(GLUT_INIT_WINDOW_X), previousY = glutGet(GLUT_INIT_WINDOW_Y);
    const int previousW = glutGet(GLUT_INIT_WINDOW_WIDTH), previousH = glutGet(GLUT_INIT_WINDOW_HEIGHT);

    g_boxWidth = std::max(240, textWidth + 2 * kMargin);
    g_boxHeight = kMargin + int(g_lines.size()) * kLineHeight + kMargin + kButtonHeight + kMargin / 2;
    g_dismissed = g_closedByUser = false;
    if (previousWindow)
        glutDisplayFunc(ownerDisplay);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowSize(g_boxWidth, g_boxHeight);
    glutInitWindowPosition(100, 100);
    const int box = glutCreateWindow(caption);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutMouseFunc(mouse);
    glutCloseFunc(windowClosed);
    glutPostRedisplay();

    while (!g_dismissed) {
        glutMainLoopEvent();
        if (!g_dismissed)
            usleep(10000);  // freeglut has no blocking wait outside glutMainLoop
    }

    if (!g_closedByUser)
        glutDestroyWindow(box);
    glutMainLoopEvent();  // let the window go away now, not at the next frame
    glutInitDisplayMode(previousMode);
    glutInitWindowSize(previousW, previousH);
    glutInitWindowPosition(previousX, previousY);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, previousAction);
    if (previousWindow)
        glutSetWindow(previousWindow);
}

}  // namespace

void showMessageBox(const char* text, const char* caption)
{
    std::string message(text);
    std::fprintf(stderr, "%s: %s%s", caption, text, !message.empty() && message.back() == '\n' ? "" : "\n");
    std::fflush(stderr);
    // GLUT_INIT_STATE is the one query freeglut answers before glutInit.
    if (glutGet(GLUT_INIT_STATE) && glutGetWindow() != 0)
        showModal(message, caption);
}
