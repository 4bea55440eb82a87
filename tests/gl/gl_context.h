#pragma once

#include <GL/gl.h>
#include <cstdint>
#include <vector>

// A headless GL context (EGL, surfaceless Mesa) with an offscreen RGBA +
// depth framebuffer bound as the draw target. One per test.
class GlContext {
public:
    explicit GlContext(int width = 64, int height = 64);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool ok() const { return ok_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // RGBA pixels of the framebuffer, bottom row first.
    std::vector<uint8_t> readPixels() const;
    // The RGB of one pixel, (0, 0) being bottom left.
    void pixel(int x, int y, uint8_t rgb[3]) const;

private:
    bool ok_ = false;
    int width_, height_;
    void* display_ = nullptr;
    void* context_ = nullptr;
    GLuint fbo_ = 0, color_ = 0, depth_ = 0;
};

// The current model-view matrix.
void readModelView(float m[16]);
