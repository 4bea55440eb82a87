#pragma once

// What a maze author paints: the ten kinds of cell, by what the program does
// with a cell's byte (open floor, the start, an exit, one of the six walls,
// or a wall that blocks without being drawn).
enum class CellKind { Open, Start, Exit, WallR, WallG, WallB, WallC, WallM, WallY, Invisible };

const int kCellKindCount = 10;

// The kind's name as the editor shows it: "open", "start", "exit",
// "wall r" to "wall y", "invisible wall".
const char* cellKindName(CellKind kind);

// The kind the program reads a cell byte as. Every byte but the nine with a
// kind of their own (space, "*", "x", r g b c m y) is an invisible wall,
// 0 (a cell the file never reached) included.
CellKind cellKindOf(char byte);

// The byte painting the kind writes: its own byte, "#" for an invisible wall.
char cellKindByte(CellKind kind);
