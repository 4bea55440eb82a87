#pragma once

// GLUT keyboard callback: w/s step, a/d turn, v/V cycle the view angle,
// q/Q/Escape quit.
void keyboardHandler(unsigned char key, int x, int y);
