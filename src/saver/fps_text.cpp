#include "saver/fps_text.h"

#include <GL/gl.h>

namespace {

// Segments a to g as bits 0 to 6: a top, b top right, c bottom right,
// d bottom, e bottom left, f top left, g middle.
int segments(char c)
{
    switch (c) {
    case '0': return 0x3f;
    case '1': return 0x06;
    case '2': return 0x5b;
    case '3': return 0x4f;
    case '4': return 0x66;
    case '5': case 'S': return 0x6d;
    case '6': return 0x7d;
    case '7': return 0x07;
    case '8': return 0x7f;
    case '9': return 0x6f;
    case 'F': return 0x71;
    case 'P': return 0x73;
    default: return 0;
    }
}

const int kDigitWidth = 8, kDigitHeight = 16, kAdvance = 13, kMargin = 6;

}  // namespace

void drawCornerText(const std::string& text, int width, int height)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_VIEWPORT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const int boxWidth = int(text.size()) * kAdvance + 2 * kMargin - (kAdvance - kDigitWidth);
    const int boxHeight = kDigitHeight + 2 * kMargin;
    glColor3f(0.0f, 0.0f, 0.0f);
    glRecti(0, 0, boxWidth, boxHeight);

    glColor3f(1.0f, 1.0f, 1.0f);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    // Pixel centres, so that one-pixel lines land on whole pixels.
    const float bottom = kMargin + 0.5f, middle = bottom + kDigitHeight / 2, top = bottom + kDigitHeight;
    for (size_t i = 0; i < text.size(); ++i) {
        const float left = kMargin + float(i) * kAdvance + 0.5f, right = left + kDigitWidth;
        if (text[i] == '.') {
            glVertex2f(left, bottom);
            glVertex2f(left + 2, bottom);
            continue;
        }
        const int s = segments(text[i]);
        const float ends[7][4] = {
            {left, top, right, top},       {right, top, right, middle},   {right, middle, right, bottom},
            {left, bottom, right, bottom}, {left, bottom, left, middle},  {left, middle, left, top},
            {left, middle, right, middle},
        };
        for (int k = 0; k < 7; ++k)
            if (s & (1 << k)) {
                glVertex2f(ends[k][0], ends[k][1]);
                glVertex2f(ends[k][2], ends[k][3]);
            }
    }
    glEnd();

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
