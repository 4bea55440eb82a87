#pragma once

#include <string>
#include <vector>

#include "maze/maze.h"
#include "bitmap/bitmap_decode.h"
#include "bitmap/textures.h"
#include "view/exit_look.h"

// The maze drawn through WebGL 2 (OpenGL ES 3): the desktop's cube and floor
// geometry, the same projection and view matrices, back-face culling, depth
// test, mipmapped textures (GL_LINEAR_MIPMAP_NEAREST / GL_LINEAR) replacing
// the colour, and the sky-blue clear colour. Needs a current WebGL 2 context.
class GlRenderer {
public:
    // Starts compiling the shaders and uploads the geometry, without waiting
    // for the compiler.
    void init();
    // Waits for the shaders; false with *err set when they do not compile or
    // link. Needed once after init, before setProjection and drawFrame.
    bool finishInit(std::string* err);
    // Deletes every GL object init made (all of them gone with a lost
    // context), so init can start again.
    void release();
    // Uploads a decoded bitmap into a texture slot (0 the floor, 1..6 the
    // walls). The floor also makes the marked exits' floor (exitFloorPixels).
    void setTexture(int slot, const RgbImage& image);
    // Whether drawFrame marks the exits' floors (cellLookAt with every exit
    // of the maze, as a walk counts them), as the desktop's --show-exits
    // draws them. Off until set; kept across release and init.
    void setShowExits(bool show) { showExits_ = show; }
    void setViewport(int width, int height);
    // The projection matrix, column-major.
    void setProjection(const float m[16]);
    // Clears, then draws `cells` in order seen through the column-major view matrix.
    void drawFrame(const maze& level, const std::vector<point2>& cells, int cellSpacing, const float view[16]);

private:
    // Uploads `image`, mipmapped as the desktop's GLU builds it, into a slot.
    void upload(int slot, const RgbImage& image);

    unsigned vertexShader_ = 0, fragmentShader_ = 0;
    unsigned program_ = 0, vao_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0, offsetBuffer_ = 0;
    unsigned textures_[kLookSlotCount] = {};
    int projectionAt_ = -1, viewAt_ = -1;
    bool showExits_ = false;
    std::vector<float> offsets_[kLookSlotCount];  // this frame's cells by texture, x y z each
    bool wall_[kLookSlotCount] = {};              // whether a texture's cells are cubes (else floors)
    std::vector<float> instances_;                // all of them, texture after texture
};
