// The web page's front end: the WebGL 2 context on the canvas, the frame loop
// and the entry points page.js calls. Whatever the walk reports (an exit, a
// quit key) stops the loop and is handed to the page to show; nothing here exits.
#include <GLES3/gl3.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gl_renderer.h"
#include "walker/clock.h"
#include "bitmap/bitmap_decode.h"
#include "bitmap/textures.h"
#include "view/projection.h"
#include "maze/maze_request.h"
#include "maze/maze_search.h"
#include "page_session.h"
#include "walker/walk_session.h"
#include "walker/frame_rate.h"
#include "walker/program.h"

namespace {

const int kCanvasSide = 500;  // until the page gives the canvas's size

GlRenderer g_renderer;
WalkSession g_session;
float g_view[16] = {};  // the camera's view matrix, kept for the renderer
FrameRateCounter g_frameRate;
bool g_running = false;
bool g_started = false;  // a maze has been read
bool g_ready = false;    // the renderer's shaders are in and the textures loaded
bool g_contextLost = false;
float g_aspect = 1.0f;   // width / height of the drawing buffer, as the desktop's reshape computes it
RgbImage g_images[kTextureCount] = {};  // the decoded textures, uploaded again after a lost context
unsigned g_frames = 0;
std::string g_text;      // the last string handed to JavaScript

// The walk's figures for the results: when its first step or turn began and
// when it reached the exit (page clock, ms; negative until then), and
// whether the way was shown at any time during it.
double g_firstMotionMs = -1.0, g_exitMs = -1.0;
bool g_wayShown = false;
// "Show the way": the keys still to give, one each time the walker is idle.
std::string g_way;

}  // namespace

// The page's side: page.js hands the module a `page` object of callbacks.
EM_JS(void, pageSetTitle, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, pageExitFound, (const char* text), { Module.page.exitFound(UTF8ToString(text)); });
EM_JS(void, pageClosed, (), { Module.page.closed(); });
EM_JS(void, pageFirstFrame, (), { Module.page.firstFrame(); });

// The desktop's buffer swap waits while the GPU is a frame behind, so a frame
// is only drawn once the one before has been finished. The browser asks for
// a frame once per animation frame without such a wait: when the GPU is
// still busy, that frame draws nothing and the walk does not advance. (With
// the browser's frame-rate limit on, the GPU is practically never behind.)
// The fence is one WebGLSync kept on the JS side: emscripten's glFenceSync
// files every fence under a new id in a table that never gives a slot back.
EM_JS(void, fenceFrame, (), {
    if (Module.frameFence)
        GLctx.deleteSync(Module.frameFence);
    Module.frameFence = GLctx.fenceSync(GLctx.SYNC_GPU_COMMANDS_COMPLETE, 0);
});
// Drops the fence of a context that was lost.
EM_JS(void, forgetFrameFence, (), { Module.frameFence = null; });
// Whether the GPU has yet to finish the frame fenced last; forgets a finished fence.
EM_JS(int, frameFenceBusy, (), {
    const fence = Module.frameFence;
    if (!fence)
        return 0;
    if (GLctx.clientWaitSync(fence, 0, 0) === GLctx.TIMEOUT_EXPIRED)
        return 1;
    GLctx.deleteSync(fence);
    Module.frameFence = null;
    return 0;
});
// The sizes of emscripten's GL object tables, for the page's tests: none may
// grow frame by frame.
EM_JS(int, glTableSlots, (), {
    return GL.syncs.length + GL.buffers.length + GL.textures.length + GL.programs.length + GL.vaos.length;
});

namespace {

void applyProjection()
{
    // The desktop hands gluPerspective the clip distances as doubles, and
    // only its culling the float view volume.
    float m[16];
    perspectiveMatrix(g_session.viewVolume(g_aspect).fovyDegrees, g_aspect, kNearPlane, kFarPlane, m);
    g_renderer.setProjection(m);
}

void stopLoop()
{
    if (g_running)
        emscripten_cancel_main_loop();
    g_running = false;
}

void keepViewMatrix(const float m[16])
{
    for (int i = 0; i < 16; ++i)
        g_view[i] = m[i];
}

// The current pose drawn again without advancing the walk: a resize clears
// the drawing buffer, also when the walk has stopped.
void redraw()
{
    g_renderer.drawFrame(g_session.level, g_session.cellsToDraw(g_aspect), g_session.pace.cellSpacing, g_view);
}

// A key for the walk, from the user or the way being shown; notes when the
// walk's first motion began.
void pressKey(unsigned char code)
{
    const int before = g_session.motionKeys;
    if (g_session.key(code) == KeyCommand::CycleView)
        applyProjection();
    if (before == 0 && g_session.motionKeys == 1)
        g_firstMotionMs = emscripten_get_now();
}

void resetWalkFigures()
{
    g_firstMotionMs = g_exitMs = -1.0;
    g_wayShown = false;
    g_way.clear();
}

void frame()
{
    if (g_contextLost || frameFenceBusy())
        return;
    g_renderer.drawFrame(g_session.level, g_session.cellsToDraw(g_aspect), g_session.pace.cellSpacing, g_view);
    fenceFrame();
    const WalkEvent event = g_session.frame();
    if (++g_frames == 1)
        pageFirstFrame();
    int frames = 0;
    if (g_frameRate.tick(timeGetTime(), &frames))
        pageSetTitle(frameRateTitle(kAppName, frames).c_str());
    switch (event) {
    case WalkEvent::ExitReached:
        stopLoop();
        g_exitMs = emscripten_get_now();
        g_way.clear();
        std::printf("%s\n", kCongratulations);
        pageExitFound(kCongratulations);
        break;
    case WalkEvent::QuitAsked:
        stopLoop();
        pageClosed();
        break;
    case WalkEvent::None:
        // The way's next key as soon as the last motion has ended, as a
        // player's key would come: one motion at a time, at the walk's pace.
        if (!g_way.empty() && g_session.walker.movement == Idle) {
            const char key = g_way.front();
            g_way.erase(0, 1);
            pressKey((unsigned char)key);
        }
        break;
    }
}

void startLoop()
{
    stopLoop();
    applyProjection();
    g_running = true;
    emscripten_set_main_loop(frame, 0, 0);
}

}  // namespace

WalkSession& pageSession()
{
    return g_session;
}

extern "C" {

// Takes the WebGL 2 context the page created on the canvas #maze at its start
// (handed over as the module's preinitializedWebGLContext) and creates the
// renderer. Returns null, or why the page cannot draw.
EMSCRIPTEN_KEEPALIVE const char* web_init()
{
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = false;
    attributes.depth = true;
    attributes.antialias = false;  // the desktop window has no multisampling
    attributes.enableExtensionsByDefault = false;  // the renderer needs WebGL 2's core only
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#maze", &attributes);
    if (context <= 0) {
        g_text = "This browser cannot draw the maze: WebGL 2 is not available.";
        return g_text.c_str();
    }
    emscripten_webgl_make_context_current(context);
    setViewMatrixLoader(keepViewMatrix);
    g_renderer.init();
    g_renderer.setViewport(kCanvasSide, kCanvasSide);
    pageSetTitle(kAppName);
    return nullptr;
}

// Loads a texture slot from the bytes fetched for its file, with the
// desktop's file reader's messages: an empty file reads as one that cannot
// be opened. A null `bytes` stands for a file that could not be fetched.
// Returns null, or the loader's message.
EMSCRIPTEN_KEEPALIVE const char* web_load_texture(int slot, const unsigned char* bytes, int size)
{
    if (slot < 0 || slot >= kTextureCount)
        return "no such texture slot";
    RgbImage* image = decodeBitmapFile(g_textureFiles[slot], bytes, size_t(size), &g_text);
    if (!image)
        return g_text.c_str();
    g_renderer.setTexture(slot, *image);
    std::free(g_images[slot].data);  // kept for a lost context's restore
    g_images[slot] = *image;
    std::free(image);
    return nullptr;
}

// Waits for the renderer's shaders, which compile while the maze and the
// textures load. Returns null, or why the page cannot draw.
EMSCRIPTEN_KEEPALIVE const char* web_renderer_ready()
{
    g_ready = g_renderer.finishInit(&g_text);
    return g_ready ? nullptr : g_text.c_str();
}

// The line the page shows for a maze file that cannot be read: the fetched
// maze1.dat, or `name` ("" for maze1.dat) when the user's file is not a
// regular file or reads as empty, as the desktop refuses it.
EMSCRIPTEN_KEEPALIVE const char* web_missing_maze_message(const char* name)
{
    g_text = mazeMissingLine(name && *name ? name : kDefaultMazeFile);
    return g_text.c_str();
}

// Reads a maze file's bytes with the program's own loader; web_run starts the walk.
EMSCRIPTEN_KEEPALIVE void web_read_maze(const char* bytes, int size)
{
    stopLoop();
    g_session.open(bytes, size_t(size));
    resetWalkFigures();
    g_started = true;
    std::printf("%s\n", kMazeLoadedLine);
}

// Starts the walk on the maze read last, from its start.
EMSCRIPTEN_KEEPALIVE void web_run()
{
    if (g_started)
        startLoop();
}

// Starts the current maze again from its start.
EMSCRIPTEN_KEEPALIVE void web_restart()
{
    if (!g_started)
        return;
    g_session.restart();
    resetWalkFigures();
    startLoop();
}

// A key typed on the page, as the desktop's keyboard callback gets it. It
// also stops a way being shown.
EMSCRIPTEN_KEEPALIVE void web_key(int code)
{
    if (!g_running || code < 0 || code > 255)
        return;
    g_way.clear();
    pressKey((unsigned char)code);
}

// Shows the way: from the walker's cell and heading (it must be idle), the
// fewest keys to an exit, as `mazetool solve` finds them, given one at a
// time as each motion ends. Returns how many, or -1 when no exit can be
// reached from here (or the walk is not under way).
EMSCRIPTEN_KEEPALIVE int web_show_way()
{
    g_way.clear();
    if (!g_running || g_session.walker.movement != Idle)
        return -1;
    std::string keys;
    if (!solveFrom(g_session.level, g_session.walker.position, g_session.walker.heading, &keys))
        return -1;
    g_way = keys;
    g_wayShown = true;
    return int(keys.size());
}

// Stops a way being shown; the motion under way ends as usual.
EMSCRIPTEN_KEEPALIVE void web_stop_way()
{
    g_way.clear();
}

// Whether a way is being shown: keys are left to give.
EMSCRIPTEN_KEEPALIVE int web_showing_way()
{
    return g_way.empty() ? 0 : 1;
}

// The walk's figures once an exit is found: {"keys": key presses that
// started a step or turn, "shortest": the fewest from the start (-1: no
// way), "ms": from the first motion to the exit, "wayShown": bool}.
EMSCRIPTEN_KEEPALIVE const char* web_results()
{
    std::string keys;
    const int shortest = solveLevel(g_session.level, &keys) ? int(keys.size()) : -1;
    const double ms = g_firstMotionMs >= 0.0 && g_exitMs >= g_firstMotionMs ? g_exitMs - g_firstMotionMs : 0.0;
    char text[160];
    std::snprintf(text, sizeof text, "{\"keys\":%d,\"shortest\":%d,\"ms\":%.0f,\"wayShown\":%s}",
                  g_session.motionKeys, shortest, ms, g_wayShown ? "true" : "false");
    g_text = text;
    return g_text.c_str();
}

// The drawing buffer's new size in pixels: the viewport and the projection
// follow it, as the desktop's reshape does (a zero height keeps the last
// projection). A stopped walk's picture is drawn again.
EMSCRIPTEN_KEEPALIVE void web_resize(int width, int height)
{
    g_renderer.setViewport(width, height);
    if (height <= 0)
        return;
    g_aspect = float(double(width) / double(height));
    if (!g_ready || !g_started)
        return;
    applyProjection();
    if (!g_running && !g_contextLost)
        redraw();
}

// The browser took the WebGL context away: no frame is drawn and the walk
// waits until web_context_restored.
EMSCRIPTEN_KEEPALIVE void web_context_lost()
{
    g_contextLost = true;
    forgetFrameFence();
}

// The browser gave the context back with none of its objects: the renderer
// makes them again and the textures go up again. Returns null, or why the
// page cannot draw.
EMSCRIPTEN_KEEPALIVE const char* web_context_restored(int width, int height)
{
    g_renderer.release();
    g_renderer.init();
    for (int slot = 0; slot < kTextureCount; ++slot)
        if (g_images[slot].data)
            g_renderer.setTexture(slot, g_images[slot]);
    g_ready = g_renderer.finishInit(&g_text);
    if (!g_ready)
        return g_text.c_str();
    g_contextLost = false;
    web_resize(width, height);
    return nullptr;
}

// Each texture's mean colour, slot by slot, as ["#rrggbb", ...] ("" for a
// slot not loaded): how the page's map and palette show the floor and walls.
EMSCRIPTEN_KEEPALIVE const char* web_texture_colours()
{
    g_text = "[";
    for (int slot = 0; slot < kTextureCount; ++slot) {
        const RgbImage& image = g_images[slot];
        const size_t pixels = image.data ? size_t(image.width) * size_t(image.height) : 0;
        double sum[3] = {0.0, 0.0, 0.0};
        for (size_t i = 0; i < pixels; ++i)
            for (int c = 0; c < 3; ++c)
                sum[c] += image.data[3 * i + size_t(c)];
        char colour[16] = "";
        if (pixels)
            std::snprintf(colour, sizeof colour, "#%02x%02x%02x", unsigned(sum[0] / double(pixels) + 0.5),
                          unsigned(sum[1] / double(pixels) + 0.5), unsigned(sum[2] / double(pixels) + 0.5));
        g_text += std::string(slot ? "," : "") + "\"" + colour + "\"";
    }
    g_text += "]";
    return g_text.c_str();
}

// The walk as JSON, for the page's tests and benchmarks.
EMSCRIPTEN_KEEPALIVE const char* web_state()
{
    const WalkerState& w = g_session.walker;
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"running\":%s,\"frames\":%u,\"movement\":%d,\"column\":%d,\"row\":%d,\"heading\":%d,"
                  "\"fieldOfView\":%g,\"aspect\":%g,\"glTableSlots\":%d}",
                  g_running ? "true" : "false", g_frames, w.movement, w.position.column, w.position.row, w.heading,
                  double(g_session.viewVolume(g_aspect).fovyDegrees), double(g_aspect), glTableSlots());
    g_text = text;
    return g_text.c_str();
}

// The bytes of the maze being walked.
EMSCRIPTEN_KEEPALIVE const char* web_maze_text()
{
    g_text = g_session.mazeBytes();
    return g_text.c_str();
}

}  // extern "C"

void readPageMaze(const std::string& bytes)
{
    web_read_maze(bytes.data(), int(bytes.size()));
}

int main()
{
    return 0;
}
