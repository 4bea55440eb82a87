#pragma once

#include <cstdint>
#include <vector>

// The program's icon: the view from the start of a short corridor of the
// shipped walls and floor, drawn from the texture art the program ships with
// as the program would show it (eye height, field of view, far plane, sky),
// in a square with rounded corners. Returns size x size RGBA pixels, top row
// first, straight (not premultiplied) alpha. size must be at least 16.
std::vector<uint8_t> drawIconView(int size);
// The same view filling a width x height picture, opaque, with no corners
// cut: the maskable icon (a launcher cuts its own shape from it) and the
// picture a shared link shows. Both sides at least 16.
std::vector<uint8_t> drawFullView(int width, int height);
