#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "geometry/camera.h"
#include "maze/maze.h"
#include "view/cell_culling.h"
#include "walker/key_commands.h"
#include "walker/program.h"
#include "walker/walker.h"

// What one frame of a walk ended with.
enum class WalkEvent { None, ExitReached, QuitAsked };

// One walk through one maze: the grid, the camera and the viewpoint it
// started from, the walker, the exits in play and the field of view. Both
// front ends play their walk through one of these; the desktop's globals are
// references into its fields, which is why they are public. Silent: the
// front end acts on what the calls return.
struct WalkSession {
    // In this order, so that a global session builds them as the desktop
    // program always has: the maze, the camera, then the viewpoint.
    maze level;
    Camera camera;
    Point3 eye{0.0f, kEyeHeight, 2.0f};
    Point3 look{10.0f, kEyeHeight, 2.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};

    WalkerState walker;
    point2 start = {0, 0};
    int exitCount = 0;
    int fieldOfView = kFirstFieldOfView;  // index into kFieldsOfView
    WalkerPace pace;
    float eyeHeight = kEyeHeight;
    bool quitAsked = false;
    int motionKeys = 0;  // keys that started a step or turn since the last restart

    // Reads a maze file's bytes with the program's loader and restarts on it.
    void open(const char* bytes, size_t size);
    // Starts the maze in `level` afresh, as if nothing had been played: the
    // walker idle on the start facing +x with no motion under way, the camera
    // at the start viewpoint, the first field of view, no quit pending.
    void restart();

    // Takes a key: starts a step or turn when the walker is idle (dropped
    // otherwise), cycles the field of view, or asks to quit. Returns what the
    // key asked for; after a quit every key is ignored (None) until restart.
    KeyCommand key(unsigned char code);
    // Plays one frame of the current motion and says how it ended: an exit
    // reached by a completed step, a quit asked for by a key, or neither.
    WalkEvent frame();

    // The perspective in force at this width / height: the field of view and
    // the program's clip planes.
    ViewVolume viewVolume(float aspect) const;
    // The cells to draw this frame, in drawing order: those the view can reach
    // and nearer walls do not hide (visibleCells).
    const std::vector<point2>& cellsToDraw(float aspect);

    // Whether the walk has shown `cell` since the last restart: it was among
    // the cells to draw of a frame, or the walker has stood on it. False
    // outside the grid.
    bool seen(point2 cell) const;
    // Counts every change to the cells seen (a cell newly seen, a restart):
    // what a map of them must follow.
    unsigned seenChanges() const { return seenChanges_; }

    // The bytes `open` read; empty when the maze was read some other way.
    const std::string& mazeBytes() const { return bytes_; }

private:
    void markSeen(point2 cell);

    std::string bytes_;
    std::vector<point2> cells_;
    unsigned seenChanges_ = 0;
    bool seen_[maze::kMaxSize][maze::kMaxSize] = {};
};
