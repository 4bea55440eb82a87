#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "geometry/camera.h"
#include "maze/maze.h"
#include "render/cell_culling.h"
#include "walker/key_commands.h"
#include "walker/program.h"
#include "walker/walker.h"

// One walk through one maze, as the desktop program plays it: the grid, the
// walker, the camera and the field of view. Silent; the page acts on what it returns.
class WalkSession {
public:
    // Reads a maze file's bytes and puts the walker on its start facing +x.
    void start(const char* bytes, size_t size);
    // Starts again on the same maze.
    void restart();

    // What a key asks for; a step or turn starts only when the walker is idle.
    KeyCommand key(unsigned char code);
    // Plays one frame of the current motion; true when a step has just ended on an exit.
    bool frame();

    // The perspective in force for a width / height: the field of view "v"
    // cycles, and the desktop's near and far planes.
    ViewVolume viewVolume(float aspect) const;
    // The cells to draw this frame, in drawing order: those the view can reach.
    const std::vector<point2>& cellsToDraw(float aspect);

    const maze& level() const { return level_; }
    const Camera& camera() const { return camera_; }
    const WalkerState& walker() const { return walker_; }
    const std::string& mazeBytes() const { return bytes_; }

    static const WalkerPace kPace;

private:
    std::string bytes_;
    maze level_;
    Camera camera_;
    WalkerState walker_;
    int exitCount_ = 0;
    int frustPos_ = kFirstFieldOfView;
    std::vector<point2> cells_;
};
