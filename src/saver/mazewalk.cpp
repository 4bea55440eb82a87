// mazewalk: the walk of random mazes, maze's demo, drawn into a screensaver's
// window through Xlib and GLX, over the same core and renderer as maze.
#include <GL/gl.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "render/display_lists.h"
#include "render/maze_renderer.h"
#include "render/scene.h"
#include "render/texture_set.h"
#include "walker/clock.h"
#include "walker/data_folder.h"
#include "walker/frame_rate.h"
#include "walker/random_walk.h"
#include "walker/walk_session.h"
// Last: Xlib's macros (None) clash with the core's enumerators.
#include "saver/fps_text.h"
#include "saver/saver_options.h"
#include "saver/saver_window.h"

#ifndef MAZEWALK_DATA_FROM_EXE
#error "MAZEWALK_DATA_FROM_EXE comes from the build (the install's data folder seen from mazewalk's folder)"
#endif

namespace {

// SIGTERM and SIGINT write a byte here, which wakes the wait between frames.
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    if (write(g_signalPipe[1], &byte, 1) < 0) {
        // The pipe is full: a byte is already waiting.
    }
    errno = saved;
}

bool catchEndSignals()
{
    // Non-blocking, so that a handler never waits on a full pipe.
    if (pipe2(g_signalPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

// The install's data folder, seen from this executable; "" for none.
std::string installedDataFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : dataFolderBeside(exe.string(), MAZEWALK_DATA_FROM_EXE);
}

// Loads the seven textures as maze does, and the marked exits' floor with
// `showExits`; false with the loader's message, one line, in *err.
bool loadTextures(bool showExits, std::string* err)
{
    const std::string dataDir = installedDataFolder();
    bool loaded = true;
    for (int i = 0; i < kTextureCount && loaded; ++i)
        loaded = loadTextureFile(g_textures, dataFilePath(g_textureFiles[i], dataDir).c_str(), i, err);
    if (loaded && showExits)
        loaded = loadExitFloorTextureFile(&g_exitFloorTexture, dataFilePath(g_textureFiles[0], dataDir).c_str(), err);
    while (!loaded && !err->empty() && err->back() == '\n')
        err->pop_back();
    return loaded;
}

using Clock = std::chrono::steady_clock;

// Waits until `due`, taking the window's events meanwhile. Returns false
// when a signal asked to end; *events says what the window asked for.
bool waitUntil(Clock::time_point due, SaverWindow* w, WindowEvents* events)
{
    for (;;) {
        *events = takeWindowEvents(w);
        if (*events != WindowEvents::Nothing)
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count();
        pollfd fds[2] = {{g_signalPipe[0], POLLIN, 0}, {ConnectionNumber(w->display), POLLIN, 0}};
        // Rounded up, so that the wait does not spin through its last millisecond.
        const int r = poll(fds, 2, left > 0 ? int(left) + 1 : 0);
        if (fds[0].revents & POLLIN)
            return false;
        if (r == 0 && Clock::now() >= due)
            return true;
        if (r < 0 && errno != EINTR)
            return true;
    }
}

int fail(const std::string& message, SaverWindow* w)
{
    std::fprintf(stderr, "mazewalk: %s\n", message.c_str());
    closeSaverWindow(w);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const SaverOptions options = parseSaverOptions(argc, argv);
    if (options.action != SaverOptions::Run)
        return answerSaverOptions(options);
    if (!catchEndSignals()) {
        std::perror("mazewalk: signals");
        return 1;
    }

    SaverWindow window;
    std::string err;
    if (!openSaverWindow(options, std::getenv("XSCREENSAVER_WINDOW"), &window, &err))
        return fail(err, &window);
    setupScene();
    setupLists();
    if (!loadTextures(options.showExits, &err))
        return fail(err, &window);

    MazeRequest first = options.maze;
    first.seed = std::random_device()();
    RandomMazeWalk walk(first);
    WalkSession session;
    walk.nextMaze(&session);

    FrameRateCounter counter;
    std::string fpsText;
    int viewWidth = 0, viewHeight = 0;
    ViewVolume view{};
    const auto delay = std::chrono::microseconds(options.delayMicroseconds);
    auto due = Clock::now();
    for (;;) {
        WindowEvents events = WindowEvents::Nothing;
        if (!waitUntil(due, &window, &events))
            break;  // SIGTERM or SIGINT
        if (events == WindowEvents::Quit)
            break;
        const auto frameStart = Clock::now();
        if (events == WindowEvents::Nothing) {
            if (window.width != viewWidth || window.height != viewHeight) {
                viewWidth = window.width;
                viewHeight = window.height;
                glViewport(0, 0, viewWidth, viewHeight);
            }
            // The field of view never changes here, but a new maze resets it.
            view = session.viewVolume(viewHeight > 0 ? float(double(viewWidth) / double(viewHeight)) : 1.0f);
            applyPerspective(view);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            drawMaze(session.level, session.pace.cellSpacing, session.camera, &view,
                     options.showExits ? session.level.getExitCount() : 0);
            for (int i = 0; i < options.speed; ++i)
                walk.frame(&session);
            if (options.fps) {
                int frames = 0;
                if (counter.tick(timeGetTime(), &frames))
                    fpsText = "FPS " + std::to_string(frames);
                drawCornerText(fpsText, viewWidth, viewHeight);
            }
            presentFrame(window);
            const std::string error = checkXErrors(&window, &events);
            if (!error.empty())
                return fail(error, &window);
        }
        if (events == WindowEvents::Destroyed) {
            std::fprintf(stderr, "mazewalk: window 0x%lx was destroyed\n", window.window);
            window.window = 0;
            closeSaverWindow(&window);
            return 1;
        }
        // The next frame is due a delay after this one began; a late frame
        // starts the count again rather than rushing to catch up.
        due = frameStart + delay;
    }
    closeSaverWindow(&window);
    return 0;
}
