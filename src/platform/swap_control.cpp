#include "platform/swap_control.h"

#include <GL/glx.h>
#include <cstring>

namespace {

bool hasExtension(const char* list, const char* name)
{
    if (!list)
        return false;
    size_t len = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += len) {
        bool startOk = p == list || p[-1] == ' ';
        bool endOk = p[len] == ' ' || p[len] == '\0';
        if (startOk && endOk)
            return true;
    }
    return false;
}

}  // namespace

void requestVerticalSync()
{
    Display* dpy = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (!dpy || !drawable)
        return;
    const char* ext = glXQueryExtensionsString(dpy, DefaultScreen(dpy));

    if (hasExtension(ext, "GLX_EXT_swap_control")) {
        auto fn = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (fn) {
            fn(dpy, drawable, 1);
            return;
        }
    }
    if (hasExtension(ext, "GLX_MESA_swap_control")) {
        auto fn = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (fn) {
            fn(1);
            return;
        }
    }
    if (hasExtension(ext, "GLX_SGI_swap_control")) {
        auto fn = reinterpret_cast<PFNGLXSWAPINTERVALSGIPROC>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalSGI")));
        if (fn)
            fn(1);
    }
}
