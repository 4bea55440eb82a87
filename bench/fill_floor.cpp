// The fill floor the maze's frame rate is compared with: what any textured
// first-person view costs on this GL. The maze's window (500 by 500,
// double-buffered RGB with depth), cleared each frame and then covered
// entirely by a floor and a wall in perspective, with one 256 by 256 RGB
// mipmapped texture and the maze's own texture settings, depth test on and
// blending off.
#include <GL/glut.h>

#include <vector>

namespace {

const int kTextureSize = 256;

// A painted texture with detail at every scale, so every mipmap level differs.
std::vector<unsigned char> paintTexture()
{
    std::vector<unsigned char> px(size_t(kTextureSize) * kTextureSize * 3);
    for (int y = 0; y < kTextureSize; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            unsigned char* p = &px[(size_t(y) * kTextureSize + x) * 3];
            p[0] = static_cast<unsigned char>(x ^ y);
            p[1] = static_cast<unsigned char>((x * 7 + y * 3) & 0xff);
            p[2] = static_cast<unsigned char>(((x / 16 + y / 16) & 1) ? 200 : 60);
        }
    }
    return px;
}

void reshape(int w, int h)
{
    glViewport(0, 0, w, h);
    if (h <= 0)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(100.0, double(w) / double(h), 0.2, 10.0);
    glMatrixMode(GL_MODELVIEW);
}

// The eye at the origin looking along -z, 1.5 above the floor as in the
// maze; the wall stands 4 ahead and reaches above the top of the view.
void display()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    // Floor: the texture repeats every unit, as on the maze's floor.
    glTexCoord2f(0, 0), glVertex3f(-5, -1.5f, 0);
    glTexCoord2f(10, 0), glVertex3f(5, -1.5f, 0);
    glTexCoord2f(10, 4), glVertex3f(5, -1.5f, -4);
    glTexCoord2f(0, 4), glVertex3f(-5, -1.5f, -4);
    // Wall: once every two units, as on the maze's cubes.
    glTexCoord2f(0, 0), glVertex3f(-5, -1.5f, -4);
    glTexCoord2f(5, 0), glVertex3f(5, -1.5f, -4);
    glTexCoord2f(5, 4), glVertex3f(5, 6.5f, -4);
    glTexCoord2f(0, 4), glVertex3f(-5, 6.5f, -4);
    glEnd();
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
    glutCreateWindow("fill floor");
    glClearColor(0.5f, 0.5f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const std::vector<unsigned char> pixels = paintTexture();
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, kTextureSize, kTextureSize, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);

    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutMainLoop();
    return 0;
}
