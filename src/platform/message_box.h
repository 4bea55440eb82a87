#pragma once

// Reports a message to the user: always as "CAPTION: TEXT" on stderr (a line
// feed added if TEXT has none), and, when a GLUT window is open, also in a
// small modal GLUT window titled CAPTION with the text and an OK button.
// Returns once the box is dismissed (OK, Return, Space, Escape or closing
// it), with the previous current window and close action restored. The box
// is meant for start-up failures: the current window's display callback is
// replaced by an empty one (freeglut's event loop needs one), so register the
// real callback afterwards.
void showMessageBox(const char* text, const char* caption);
