#pragma once

// The desktop window's size from -geometry, read in full (the toolkit reads
// its numbers into 32 bits and X keeps 16 of them), and capped at what the
// screen shows and the GL draws.

#include <string>

struct WindowSize {
    unsigned long long width = 0;
    unsigned long long height = 0;
};

// The width and height an X geometry ("[=][W{x|X}H][{+|-}X{+|-}Y]") names,
// each read as the whole number written, saturating at the largest
// unsigned long long; 0 0 when it names no size or a part is malformed.
WindowSize geometrySize(const char* geometry);

// `requested` capped at each known limit: the screen's size and the largest
// viewport the GL draws (a limit side of 0 is unknown and caps nothing).
WindowSize capWindowSize(WindowSize requested, WindowSize screen, WindowSize viewport);

// The one-line note (newline ended) for stderr when a requested size was
// capped: "maze: -geometry WxH is more than ... the window is W'xH'".
std::string windowCapNote(WindowSize requested, WindowSize capped, WindowSize screen, WindowSize viewport);
