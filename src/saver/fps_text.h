#pragma once

#include <string>

// The frame-rate text mazewalk draws in a corner, in seven-segment strokes
// of plain GL lines: no font is needed from the X server.

// Draws `text` white on a black box in the bottom left corner of a window
// of width by height pixels, over whatever is there. Digits, '.', ' ' and the
// letters F, P and S are drawn; other characters are left blank. Saves and restores the GL state it changes
// (matrices, depth test, texturing, blending).
void drawCornerText(const std::string& text, int width, int height);
