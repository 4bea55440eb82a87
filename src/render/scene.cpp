#include "render/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "geometry/camera.h"
#include "render/view_matrix.h"
#include "walker/program.h"

void setupScene()
{
    setViewMatrixLoader(loadModelViewMatrix);
    glClearColor(kSkyColour[0], kSkyColour[1], kSkyColour[2], kSkyColour[3]);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
}

void applyPerspective(const ViewVolume& view)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The clip planes at the program's double precision, not the volume's floats.
    gluPerspective(view.fovyDegrees, view.aspect, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
}
