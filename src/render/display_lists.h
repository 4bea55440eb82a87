#pragma once

// The two pieces of geometry every cell is drawn from, compiled once.
extern float g_cubeSize;    // half the edge of the cube and of the floor square
extern unsigned int g_cube;   // a wall cell: a cube of side 2 * g_cubeSize
extern unsigned int g_floor;  // an open cell: a square at y = -g_cubeSize, facing up

// Compiles both lists; needs a current GL context.
void setupLists();
