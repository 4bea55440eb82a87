#pragma once

#include <string>

#include "geometry/camera.h"
#include "maze/maze.h"
#include "view/cell_culling.h"
#include "walker/walk_session.h"

// The program's one walk. The globals below that belong to the walk are
// references into its fields, under the names the callbacks have always used.
extern WalkSession g_session;

// Application globals, shared by the callbacks, the walker and the renderer.
extern const char* gstr_AppName;
extern std::string g_fileName;
extern bool g_mazeFileNamed;  // the command line named the maze file
extern maze& g_level;
extern Camera& g_camera;
extern Point3& g_eye;
extern Point3& g_look;
extern Vector3& g_up;
extern float& g_yHeight;
extern int& g_cubeFactor;
extern point2& g_start;
extern int& g_exitCount;
extern float FrustArray[3];
extern int& g_FrustPos;
extern float g_width;
extern float g_height;
// The projection setProjection last applied; unset before the first one.
extern ViewVolume g_viewVolume;
extern bool g_viewVolumeSet;
// --show-exits: the exits' floors are drawn marked. Set before viewInit.
extern bool g_showExits;

void viewInit();
// Reads the maze (a demo's random one, or g_fileName, warning on stderr when
// it cannot be won), then the display lists and the textures; ends the
// process with 1 when the maze or a texture cannot be read.
void levelInit();
void reshape(int w, int h);
// Rebuilds the perspective projection; a non-finite or non-positive
// aspect (a window of height 0) keeps the previous one.
void setProjection(float aspect);
// Draws g_level as g_camera sees it through the projection in force,
// skipping the cells that cannot reach the window.
void drawLevel();
void displayHandler();
void modelRedraw();
void CalculateFrameRate();
