#define GL_GLEXT_PROTOTYPES 1
#include "gl_context.h"

#include <cstddef>
#include <cstdlib>
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glext.h>

#include "geometry/camera.h"
#include "render/view_matrix.h"

// Memory the Mesa software driver keeps until process exit is not ours to
// free; LeakSanitizer still checks everything else.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:swrast_dri.so\n";
}

// Quiet about the suppressions it used, so death tests see only our own stderr.
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}

GlContext::GlContext(int width, int height) : width_(width), height_(height)
{
    // Cameras load GL's model-view matrix, as the desktop program's do.
    setViewMatrixLoader(loadModelViewMatrix);
    setenv("EGL_PLATFORM", "surfaceless", 0);  // no display server needed
    EGLDisplay dpy = EGL_NO_DISPLAY;
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay)
        dpy = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (dpy == EGL_NO_DISPLAY)
        dpy = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (dpy == EGL_NO_DISPLAY || !eglInitialize(dpy, nullptr, nullptr))
        return;
    display_ = dpy;
    if (!eglBindAPI(EGL_OPENGL_API))
        return;

    const EGLint configAttribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    eglChooseConfig(dpy, configAttribs, &config, 1, &count);
    // A compatibility profile: the program draws with GL 1.1 calls.
    const EGLint ctxAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext ctx = eglCreateContext(dpy, count > 0 ? config : EGL_NO_CONFIG_KHR,
                                      EGL_NO_CONTEXT, ctxAttribs);
    if (ctx == EGL_NO_CONTEXT)
        return;
    context_ = ctx;
    if (!eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, ctx))
        return;

    glGenRenderbuffers(1, &color_);
    glBindRenderbuffer(GL_RENDERBUFFER, color_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return;
    glViewport(0, 0, width, height);
    ok_ = true;
}

GlContext::~GlContext()
{
    EGLDisplay dpy = display_;
    if (context_) {
        if (fbo_) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glDeleteFramebuffers(1, &fbo_);
            glDeleteRenderbuffers(1, &color_);
            glDeleteRenderbuffers(1, &depth_);
        }
        eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(dpy, context_);
    }
    // The display stays initialised: terminating it unloads the driver, and
    // LeakSanitizer then cannot name (or see the owners of) the driver's memory.
}

std::vector<uint8_t> GlContext::readPixels() const
{
    std::vector<uint8_t> px(std::size_t(width_) * height_ * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

void GlContext::pixel(int x, int y, uint8_t rgb[3]) const
{
    uint8_t px[4];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    rgb[0] = px[0];
    rgb[1] = px[1];
    rgb[2] = px[2];
}

void readModelView(float m[16])
{
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
}
