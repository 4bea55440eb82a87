// LD_PRELOAD shim: wraps glXSwapBuffers to count the frames a program
// presents, whatever toolkit drives it, and keeps the count in the file named
// by $MAZE_SWAP_RECORD (a SwapRecord, mapped shared with the bench driver).

#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "swap_record.h"

namespace {

using SwapFn = void (*)(Display*, GLXDrawable);

SwapRecord* g_record = nullptr;
SwapFn g_realSwap = nullptr;

int64_t clockNs(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

__attribute__((constructor)) void openRecord()
{
    const char* path = std::getenv(kSwapRecordEnv);
    if (!path)
        return;
    int fd = open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    void* p = mmap(nullptr, sizeof(SwapRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (p != MAP_FAILED)
        g_record = static_cast<SwapRecord*>(p);
}

}  // namespace

void glXSwapBuffers(Display* dpy, GLXDrawable drawable)
{
    if (!g_realSwap)
        g_realSwap = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    const uint64_t count = g_record ? __atomic_load_n(&g_record->swaps, __ATOMIC_RELAXED) : 0;
    if (g_record && count == 0) {
        if (const GLubyte* name = glGetString(GL_RENDERER))
            std::strncpy(g_record->renderer, reinterpret_cast<const char*>(name), sizeof g_record->renderer - 1);
    }
    g_realSwap(dpy, drawable);
    if (!g_record)
        return;
    const int64_t t = clockNs(CLOCK_MONOTONIC);
    if (count == 0) {
        g_record->firstSwapNs = t;
        g_record->firstSwapCpuNs = clockNs(CLOCK_PROCESS_CPUTIME_ID);
    }
    __atomic_store_n(&g_record->lastSwapNs, t, __ATOMIC_RELAXED);
    __atomic_store_n(&g_record->swaps, count + 1, __ATOMIC_RELEASE);
}
