#include "app/main2.h"

#include <GL/glut.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/data_files.h"
#include "app/demo.h"
#include "app/keyboard.h"
#include "app/walker.h"
#include "maze/maze_check.h"
#include "walker/clock.h"
#include "render/display_lists.h"
#include "render/maze_renderer.h"
#include "render/scene.h"
#include "render/bitmap_loader.h"
#include "render/texture_set.h"
#include "walker/frame_rate.h"
#include "walker/program.h"

const char* gstr_AppName = kAppName;
std::string g_fileName = kDefaultMazeFile;
bool g_mazeFileNamed = false;
WalkSession g_session;
maze& g_level = g_session.level;
Camera& g_camera = g_session.camera;
Point3& g_eye = g_session.eye;
Point3& g_look = g_session.look;
Vector3& g_up = g_session.up;
float& g_yHeight = g_session.eyeHeight;
int& g_cubeFactor = g_session.pace.cellSpacing;
point2& g_start = g_session.start;
int& g_exitCount = g_session.exitCount;
float FrustArray[3] = {kFieldsOfView[0], kFieldsOfView[1], kFieldsOfView[2]};
int& g_FrustPos = g_session.fieldOfView;
float g_width = 0.0f;
float g_height = 0.0f;
ViewVolume g_viewVolume = {0.0f, 0.0f, 0.0f, 0.0f};
bool g_viewVolumeSet = false;
bool g_showExits = false;

void levelInit()
{
    if (!loadDemoMaze()) {
        if (!g_level.loadLevel(g_fileName)) {
            // A demo keeps its standard output for the congratulations.
            std::FILE* out = demoPrepared() ? stderr : stdout;
            std::fprintf(out, "%s\n", mazeMissingLine(g_fileName).c_str());
            std::fflush(out);
            if (!g_mazeFileNamed)
                std::fputs(missingMazeHint(runningProgramPath()).c_str(), stderr);
            std::exit(1);
        }
        // Played all the same: an author may be trying out a maze half made.
        for (const std::string& why : whyNotWinnable(g_level))
            std::fprintf(stderr, "maze: %s: %s\n", g_fileName.c_str(), why.c_str());
    }
    setupLists();
    const std::string hint = missingTextureHint(runningProgramPath());
    for (int i = 0; i < kTextureCount; ++i)
        if (!loadTexture(g_textures, dataFile(g_textureFiles[i]).c_str(), i, hint))
            std::exit(1);  // the loader has already told the user why
    if (g_showExits && !loadExitFloorTexture(&g_exitFloorTexture, dataFile(g_textureFiles[0]).c_str()))
        std::exit(1);
}

void viewInit()
{
    setupScene();
    levelInit();
    // The start cell, the exits, the camera at the start viewpoint and the
    // walker idle there.
    g_session.restart();
}

void setProjection(float aspect)
{
    if (!(aspect > 0.0f) || !std::isfinite(aspect))
        return;
    const ViewVolume view = g_session.viewVolume(aspect);
    applyPerspective(view);
    g_viewVolume = view;
    g_viewVolumeSet = true;
}

void reshape(int w, int h)
{
    glViewport(0, 0, w, h);
    g_width = float(w);
    g_height = float(h);
    setProjection(float(double(w) / double(h)));
}

void drawLevel()
{
    drawMaze(g_level, g_cubeFactor, g_camera, g_viewVolumeSet ? &g_viewVolume : nullptr, g_showExits ? g_exitCount : 0);
}

void modelRedraw()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawLevel();
    updateMovement();
    glutPostRedisplay();
}

void CalculateFrameRate()
{
    static FrameRateCounter counter;
    int frames;
    if (counter.tick(timeGetTime(), &frames))
        glutSetWindowTitle(frameRateTitle(gstr_AppName, frames).c_str());
}

void displayHandler()
{
    modelRedraw();
    glutSwapBuffers();
    glFlush();
    CalculateFrameRate();
}
