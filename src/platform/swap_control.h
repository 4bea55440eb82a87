#pragma once

// Asks the current GLX context to swap on vertical blank, so every frame
// of an animation reaches the screen. Does nothing where the extension is missing.
void requestVerticalSync();
