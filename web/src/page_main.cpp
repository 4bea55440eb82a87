// The web page's front end: the WebGL 2 context on the canvas, the frame loop
// paced by the clock, which draws only when the picture changes, and the
// walk's entry points program.js calls. The page
// is told what changes (the walker, the cells seen, the way shown, an exit, a
// pause) as it happens; nothing here exits. A quit key pauses the walk: on a
// page, closing means nothing, and a walk thrown away is a walk lost.
#include <GLES3/gl3.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "answer.h"
#include "bitmap/bitmap_decode.h"
#include "bitmap/textures.h"
#include "gl_renderer.h"
#include "maze/maze_request.h"
#include "maze/maze_search.h"
#include "page_session.h"
#include "view/projection.h"
#include "walker/clock.h"
#include "walker/drawing_clock.h"
#include "walker/frame_rate.h"
#include "walker/key_commands.h"
#include "walker/motion_clock.h"
#include "walker/program.h"
#include "walker/walk_session.h"

namespace {

const int kCanvasSide = 500;  // until the page gives the canvas's size
// A walk draws every frame for its first second (its first frames, a
// browser settling in); after that only when the picture changes, and the
// loop stops once it has drawn nothing for this long.
const double kDrawAlwaysMs = 1000.0;
const double kStillLoopMs = 1000.0;

// What the page was last told of the walk, so that it hears of changes only.
struct Told {
    int column = -1, row = -1, heading = -1, movement = -1;
    unsigned seenChanges = 0;
    bool way = false;
};

// Everything the page's program keeps between calls.
struct PageState {
    GlRenderer renderer;
    WalkSession session;
    float view[16] = {};  // the camera's view matrix, kept for the renderer
    FrameRateCounter frameRate;
    DrawingClock drawingClock;  // what the frame rate is counted on
    MotionClock clock;
    bool running = false;      // the walk runs (its frame loop may be paused)
    bool loopIdle = false;     // the frame loop is paused while nothing changes
    bool changed = false;      // the picture has changed since it was last drawn
    double loopStartMs = -1.0; // when the walk's loop ticked first (page clock)
    double lastDrawMs = 0.0;   // when it last drew
    bool started = false;      // a maze has been read
    bool ready = false;        // the renderer's shaders are in and the textures loaded
    bool contextLost = false;
    bool paused = false;       // a quit key or the page stopped the loop; web_resume goes on
    double pausedAtMs = 0.0;   // page clock when the pause began
    bool instantMotion = false;  // each step or turn plays all its motion frames at once
    float aspect = 1.0f;       // width / height of the drawing buffer, as the desktop's reshape computes it
    RgbImage images[kTextureCount] = {};  // the decoded textures, uploaded again after a lost context
    unsigned frames = 0;       // frames drawn
    unsigned motionFrames = 0; // motion frames played

    // The walk's figures for the results: when its first step or turn began
    // and when it reached the exit (page clock, ms; negative until then), and
    // whether the way was shown at any time during it.
    double firstMotionMs = -1.0, exitMs = -1.0;
    bool wayShown = false;
    // "Show the way": the keys still to give, one each time the walker is
    // idle; `wayAsked` while it waits for the motion under way to end.
    std::string way;
    bool wayAsked = false;

    Told told;
};

PageState g_page;

// What pageWay reports besides a way's length.
const int kNoWay = -1, kWayEnded = -2;

}  // namespace

// The page's side: program.js hands the module a `page` object of callbacks.
EM_JS(void, pageFrameRate, (const char* text), { Module.page.frameRate(UTF8ToString(text)); });
EM_JS(void, pageWalker, (int column, int row, int heading, int movement),
      { Module.page.walker(column, row, heading, movement); });
EM_JS(void, pageSeen, (), { Module.page.seen(); });
EM_JS(void, pageWay, (int keys), { Module.page.way(keys); });
EM_JS(void, pageExitFound, (const char* text), { Module.page.exitFound(UTF8ToString(text)); });
EM_JS(void, pagePaused, (), { Module.page.paused(); });
EM_JS(void, pageResumed, (), { Module.page.resumed(); });
EM_JS(void, pageFirstFrame, (), { Module.page.firstFrame(); });

// The desktop's buffer swap waits while the GPU is a frame behind, so a frame
// is only drawn once the one before has been finished. The browser asks for
// a frame once per animation frame without such a wait: when the GPU is
// still busy, that frame draws nothing (the walk keeps to the clock).
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

bool wayUnderWay()
{
    return g_page.wayAsked || !g_page.way.empty();
}

// Tells the page what changed since it was last told: the walker's cell,
// heading or motion, the cells seen, the end of a way shown.
void tellPage()
{
    Told& told = g_page.told;
    const WalkerState& w = g_page.session.walker;
    if (w.position.column != told.column || w.position.row != told.row || w.heading != told.heading ||
        w.movement != told.movement) {
        told.column = w.position.column;
        told.row = w.position.row;
        told.heading = w.heading;
        told.movement = w.movement;
        pageWalker(told.column, told.row, told.heading, told.movement);
    }
    if (g_page.session.seenChanges() != told.seenChanges) {
        told.seenChanges = g_page.session.seenChanges();
        pageSeen();
    }
    // A way ends once the motion of its last key has ended too.
    const bool way = wayUnderWay() || (told.way && g_page.running && g_page.session.walker.movement != Idle);
    if (told.way && !way)
        pageWay(kWayEnded);
    told.way = way;
}

void applyProjection()
{
    // The desktop hands gluPerspective the clip distances as doubles, and
    // only its culling the float view volume.
    float m[16];
    perspectiveMatrix(g_page.session.viewVolume(g_page.aspect).fovyDegrees, g_page.aspect, kNearPlane, kFarPlane, m);
    g_page.renderer.setProjection(m);
}

void stopLoop()
{
    if (g_page.running)
        emscripten_cancel_main_loop();
    g_page.running = false;
    g_page.loopIdle = false;
}

// Something the picture shows has changed: the next animation frame draws
// it, and a loop paused while nothing changed goes on.
void redraw()
{
    g_page.changed = true;
    if (g_page.loopIdle && !g_page.contextLost) {
        g_page.loopIdle = false;
        g_page.clock.resume();
        g_page.drawingClock.resume();
        emscripten_resume_main_loop();
    }
}

// Whether the picture moves on by itself: a motion under way, or a way being shown.
bool moving()
{
    return g_page.session.walker.movement != Idle || wayUnderWay();
}

// Whether a frame at `nowMs` has something to draw: a change not drawn yet,
// a motion or way under way, or the walk's first second (a loop that has not
// ticked yet is in it).
bool wantsDraw(double nowMs)
{
    return g_page.changed || moving() || g_page.loopStartMs < 0.0 || nowMs - g_page.loopStartMs < kDrawAlwaysMs;
}

// Whether the loop has nothing to draw until something changes (or no walk).
bool still()
{
    return !g_page.running || g_page.loopIdle || !wantsDraw(emscripten_get_now());
}

void keepViewMatrix(const float m[16])
{
    for (int i = 0; i < 16; ++i)
        g_page.view[i] = m[i];
}

void draw()
{
    WalkSession& s = g_page.session;
    g_page.renderer.drawFrame(s.level, s.cellsToDraw(g_page.aspect), s.pace.cellSpacing, g_page.view);
}

// A key for the walk, from the user or the way being shown; notes when the
// walk's first motion began.
void pressKey(unsigned char code)
{
    WalkSession& s = g_page.session;
    const int before = s.motionKeys;
    if (s.key(code) == KeyCommand::CycleView)
        applyProjection();
    if (before == 0 && s.motionKeys == 1)
        g_page.firstMotionMs = emscripten_get_now();
}

// The way from where the idle walker stands: its keys, or the page told
// that none reaches an exit.
void startWay()
{
    WalkSession& s = g_page.session;
    g_page.wayAsked = false;
    std::string keys;
    if (!solveFrom(s.level, s.walker.position, s.walker.heading, &keys)) {
        g_page.told.way = false;
        pageWay(kNoWay);
        return;
    }
    g_page.way = keys;
    g_page.wayShown = true;
    g_page.told.way = !keys.empty();
    pageWay(int(keys.size()));
}

void resetWalkFigures()
{
    g_page.firstMotionMs = g_page.exitMs = -1.0;
    g_page.wayShown = false;
    g_page.way.clear();
    g_page.wayAsked = false;
}

// Plays one motion frame, as one frame of the desktop's loop does (with
// instant motion, every frame left of the motion under way), and acts on how
// it ended. False once the walk has stopped at an exit.
bool playMotionFrame()
{
    WalkSession& s = g_page.session;
    WalkEvent event = s.frame();
    ++g_page.motionFrames;
    while (g_page.instantMotion && event == WalkEvent::None && s.walker.movement != Idle) {
        event = s.frame();
        ++g_page.motionFrames;
    }
    switch (event) {
    case WalkEvent::ExitReached:
        stopLoop();
        g_page.exitMs = emscripten_get_now();
        g_page.way.clear();
        g_page.wayAsked = false;
        std::printf("%s\n", kCongratulations);
        tellPage();
        pageExitFound(kCongratulations);
        return false;
    case WalkEvent::QuitAsked:  // never: quit keys pause the page's walk before the session sees them
    case WalkEvent::None:
        break;
    }
    // The way's next key as soon as the last motion has ended, as a
    // player's key would come: one motion at a time, at the walk's pace.
    if (s.walker.movement == Idle) {
        if (g_page.wayAsked) {
            startWay();
        } else if (!g_page.way.empty()) {
            const char key = g_page.way.front();
            g_page.way.erase(0, 1);
            pressKey((unsigned char)key);
        }
    }
    return true;
}

// One animation frame: the motion frames the clock has made due, each
// played in turn, then the picture of where they leave the walk (no picture
// when the GPU is still on the last one). A walk that reaches its exit stops
// without drawing that last motion frame, as the desktop's does.
//
// A frame after the walk's first second that finds nothing moving and
// nothing changed draws nothing; after a second of those the loop pauses
// until redraw(). The frame rate is counted over the time of the frames
// that had something to draw.
void frame()
{
    if (g_page.contextLost) {
        g_page.loopIdle = true;  // web_context_restored goes on
        emscripten_pause_main_loop();
        return;
    }
    const double now = emscripten_get_now();
    if (g_page.loopStartMs < 0.0)
        g_page.loopStartMs = g_page.lastDrawMs = now;
    int due = g_page.clock.tick(now);
    // Instant motion shows a motion's end at the next drawn frame, whether
    // or not the clock has a motion frame due yet.
    if (due == 0 && g_page.instantMotion && g_page.session.walker.movement != Idle)
        due = 1;
    for (int i = 0; i < due; ++i) {
        if (moving())
            g_page.changed = true;
        if (!playMotionFrame())
            return;
    }
    const bool wanted = wantsDraw(now);
    const bool drawn = wanted && !frameFenceBusy();
    if (drawn) {
        draw();
        fenceFrame();
        g_page.changed = false;
        g_page.lastDrawMs = now;
        if (++g_page.frames == 1)
            pageFirstFrame();
    }
    const double drawingMs = g_page.drawingClock.tick(double(timeGetTime()), wanted);
    int perSecond = 0;
    // The desktop's title after its "Maze: ", as the page's frame-rate text.
    if (drawn && g_page.frameRate.tick(uint32_t(drawingMs), &perSecond))
        pageFrameRate(frameRateTitle("", perSecond).c_str());
    tellPage();
    if (!wanted && now - g_page.lastDrawMs >= kStillLoopMs) {
        g_page.loopIdle = true;
        emscripten_pause_main_loop();
    }
}

void startLoop()
{
    stopLoop();
    applyProjection();
    g_page.paused = false;
    g_page.running = true;
    g_page.changed = true;
    g_page.loopStartMs = -1.0;
    g_page.clock.reset();
    emscripten_set_main_loop(frame, 0, 0);
}

// Stops the walk where it stands, mid-motion too, and tells the page. The
// way being shown stops with it.
void pause()
{
    if (!g_page.running)
        return;
    stopLoop();
    g_page.paused = true;
    g_page.pausedAtMs = emscripten_get_now();
    g_page.way.clear();
    g_page.wayAsked = false;
    tellPage();
    pagePaused();
}

// Goes on from where the pause stopped the walk; the walk's time leaves the
// pause out.
void resume()
{
    if (!g_page.paused)
        return;
    if (g_page.firstMotionMs >= 0.0)
        g_page.firstMotionMs += emscripten_get_now() - g_page.pausedAtMs;
    startLoop();
    pageResumed();
}

}  // namespace

WalkSession& pageSession()
{
    return g_page.session;
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
    if (context <= 0)
        return answer("This browser cannot draw the maze: WebGL 2 is not available.");
    emscripten_webgl_make_context_current(context);
    setViewMatrixLoader(keepViewMatrix);
    g_page.renderer.init();
    g_page.renderer.setViewport(kCanvasSide, kCanvasSide);
    return nullptr;
}

// Loads a texture slot from the bytes fetched for its file, with the
// desktop's file reader's messages: an empty file reads as one that cannot
// be opened. A null `bytes` stands for a file that could not be fetched.
// Returns null, or the loader's message.
EMSCRIPTEN_KEEPALIVE const char* web_load_texture(int slot, const unsigned char* bytes, int size)
{
    if (slot < 0 || slot >= kTextureCount)
        return answer("no such texture slot");
    std::string err;
    RgbImage* image = decodeBitmapFile(g_textureFiles[slot], bytes, size_t(size), &err);
    if (!image)
        return answer(err);
    g_page.renderer.setTexture(slot, *image);
    std::free(g_page.images[slot].data);  // kept for a lost context's restore
    g_page.images[slot] = *image;
    std::free(image);
    redraw();  // a texture replaced once the walk is shown (a small one by the full one)
    return nullptr;
}

// Waits for the renderer's shaders, which compile while the maze and the
// textures load. Returns null, or why the page cannot draw.
EMSCRIPTEN_KEEPALIVE const char* web_renderer_ready()
{
    std::string err;
    g_page.ready = g_page.renderer.finishInit(&err);
    return g_page.ready ? nullptr : answer(err);
}

// The line the page shows when maze1.dat cannot be fetched, as the desktop
// refuses a maze file it cannot open.
EMSCRIPTEN_KEEPALIVE const char* web_missing_maze_message()
{
    return answer(mazeMissingLine(kDefaultMazeFile));
}

// Reads a maze file's bytes with the program's own loader; web_run starts the walk.
EMSCRIPTEN_KEEPALIVE void web_read_maze(const char* bytes, int size)
{
    stopLoop();
    g_page.session.open(bytes, size_t(size));
    resetWalkFigures();
    g_page.started = true;
    std::printf("%s\n", kMazeLoadedLine);
    tellPage();
}

// Starts the walk on the maze read last, from its start.
EMSCRIPTEN_KEEPALIVE void web_run()
{
    if (g_page.started)
        startLoop();
}

// Starts the current maze again from its start.
EMSCRIPTEN_KEEPALIVE void web_restart()
{
    if (!g_page.started)
        return;
    g_page.session.restart();
    resetWalkFigures();
    startLoop();
    tellPage();
}

// A key typed on the page, as the desktop's keyboard callback gets it, but
// that a quit key (q, Q, Escape) pauses the walk, or resumes a paused one. It
// also stops a way being shown.
EMSCRIPTEN_KEEPALIVE void web_key(int code)
{
    if (code < 0 || code > 255)
        return;
    if (keyCommand((unsigned char)code) == KeyCommand::Quit) {
        if (g_page.paused)
            resume();
        else
            pause();
        return;
    }
    if (!g_page.running)
        return;
    g_page.way.clear();
    g_page.wayAsked = false;
    pressKey((unsigned char)code);
    redraw();
    tellPage();
}

// Pauses the walk (the page was left, or asked for it); nothing when it is
// not under way. The page hears page.paused().
EMSCRIPTEN_KEEPALIVE void web_pause()
{
    pause();
}

// Goes on with a paused walk from the same cell, heading, motion and figures;
// the time the results count leaves the pause out. The page hears
// page.resumed().
EMSCRIPTEN_KEEPALIVE void web_resume()
{
    resume();
}

// Whether the exits' floors are marked (drawn apart from open floor).
EMSCRIPTEN_KEEPALIVE void web_set_show_exits(int show)
{
    g_page.renderer.setShowExits(show != 0);
    if (g_page.ready && g_page.started && !g_page.running && !g_page.contextLost)
        draw();
    else if (g_page.running)
        redraw();  // a loop resting while nothing moved draws the change
}

// Whether a step or turn plays all its motion frames within one drawn frame
// (its end picture at once) rather than one per sixtieth of a second.
EMSCRIPTEN_KEEPALIVE void web_set_instant_motion(int instant)
{
    g_page.instantMotion = instant != 0;
}

// Shows the way: from the walker's cell and heading once the motion under way
// has ended, the fewest keys to an exit, as `mazetool solve` finds them,
// given one at a time as each motion ends. The page hears how many keys
// (page.way(n)), or -1 when no exit can be reached from there or the walk
// is not under way, and -2 once the way has ended or been stopped. Asked
// again while a way waits to start or is being shown, it does nothing.
EMSCRIPTEN_KEEPALIVE void web_show_way()
{
    if (g_page.running && wayUnderWay())
        return;
    g_page.way.clear();
    if (!g_page.running) {
        g_page.wayAsked = false;
        pageWay(kNoWay);
        return;
    }
    g_page.wayAsked = true;
    g_page.told.way = true;
    if (g_page.session.walker.movement == Idle)
        startWay();
    redraw();
}

// Stops a way being shown (or waiting to start); the motion under way ends as usual.
EMSCRIPTEN_KEEPALIVE void web_stop_way()
{
    g_page.way.clear();
    g_page.wayAsked = false;
    tellPage();
}

// The walk's figures once an exit is found: {"keys": key presses that
// started a step or turn, "shortest": the fewest from the start (-1: no
// way), "ms": from the first motion to the exit, "wayShown": bool}.
EMSCRIPTEN_KEEPALIVE const char* web_results()
{
    const WalkSession& s = g_page.session;
    std::string keys;
    const int shortest = solveLevel(s.level, &keys) ? int(keys.size()) : -1;
    const double ms = g_page.firstMotionMs >= 0.0 && g_page.exitMs >= g_page.firstMotionMs
                          ? g_page.exitMs - g_page.firstMotionMs
                          : 0.0;
    char text[160];
    std::snprintf(text, sizeof text, "{\"keys\":%d,\"shortest\":%d,\"ms\":%.0f,\"wayShown\":%s}", s.motionKeys,
                  shortest, ms, g_page.wayShown ? "true" : "false");
    return answer(text);
}

// The drawing buffer's new size in pixels: the viewport and the projection
// follow it, as the desktop's reshape does (a zero height keeps the last
// projection). A stopped walk's picture is drawn again, as a resize clears it.
EMSCRIPTEN_KEEPALIVE void web_resize(int width, int height)
{
    g_page.renderer.setViewport(width, height);
    if (height <= 0)
        return;
    g_page.aspect = float(double(width) / double(height));
    if (!g_page.ready || !g_page.started)
        return;
    applyProjection();
    if (g_page.running)
        redraw();
    else if (!g_page.contextLost)
        draw();
}

// The browser took the WebGL context away: no frame is drawn and the walk
// waits until web_context_restored.
EMSCRIPTEN_KEEPALIVE void web_context_lost()
{
    g_page.contextLost = true;
    forgetFrameFence();
}

// The browser gave the context back with none of its objects: the renderer
// makes them again and the textures go up again; the walk goes on from where
// it waited. Returns null, or why the page cannot draw.
EMSCRIPTEN_KEEPALIVE const char* web_context_restored(int width, int height)
{
    g_page.renderer.release();
    g_page.renderer.init();
    for (int slot = 0; slot < kTextureCount; ++slot)
        if (g_page.images[slot].data)
            g_page.renderer.setTexture(slot, g_page.images[slot]);
    std::string err;
    g_page.ready = g_page.renderer.finishInit(&err);
    if (!g_page.ready)
        return answer(err);
    g_page.contextLost = false;
    g_page.clock.reset();
    web_resize(width, height);
    redraw();
    return nullptr;
}

// Each texture's mean colour, slot by slot, as ["#rrggbb", ...] ("" for a
// slot not loaded): how the page's map and palette show the floor and walls.
EMSCRIPTEN_KEEPALIVE const char* web_texture_colours()
{
    std::string json = "[";
    for (int slot = 0; slot < kTextureCount; ++slot) {
        const RgbImage& image = g_page.images[slot];
        const size_t pixels = image.data ? size_t(image.width) * size_t(image.height) : 0;
        double sum[3] = {0.0, 0.0, 0.0};
        for (size_t i = 0; i < pixels; ++i)
            for (int c = 0; c < 3; ++c)
                sum[c] += image.data[3 * i + size_t(c)];
        char colour[16] = "";
        if (pixels)
            std::snprintf(colour, sizeof colour, "#%02x%02x%02x", unsigned(sum[0] / double(pixels) + 0.5),
                          unsigned(sum[1] / double(pixels) + 0.5), unsigned(sum[2] / double(pixels) + 0.5));
        json += std::string(slot ? "," : "") + "\"" + colour + "\"";
    }
    return answer(json + "]");
}

// The walk as JSON, for the page's tests and benchmarks: frames drawn and
// motion frames played besides the walker, whether the loop has nothing to
// draw until something changes ("still"), the view and the GL tables' size.
EMSCRIPTEN_KEEPALIVE const char* web_state()
{
    const WalkSession& s = g_page.session;
    const WalkerState& w = s.walker;
    char text[320];
    std::snprintf(text, sizeof text,
                  "{\"running\":%s,\"paused\":%s,\"still\":%s,\"frames\":%u,\"motionFrames\":%u,\"movement\":%d,"
                  "\"column\":%d,\"row\":%d,\"heading\":%d,\"fieldOfView\":%g,\"aspect\":%g,\"glTableSlots\":%d}",
                  g_page.running ? "true" : "false", g_page.paused ? "true" : "false", still() ? "true" : "false",
                  g_page.frames, g_page.motionFrames, w.movement,
                  w.position.column, w.position.row, w.heading, double(s.viewVolume(g_page.aspect).fovyDegrees),
                  double(g_page.aspect), glTableSlots());
    return answer(text);
}

// The length in bytes of the answer an entry point returned last.
EMSCRIPTEN_KEEPALIVE int web_answer_size()
{
    return int(heldAnswer().size());
}

// The bytes of the maze being walked, their count in *size.
EMSCRIPTEN_KEEPALIVE const char* web_maze_bytes(int* size)
{
    return answerBytes(g_page.session.mazeBytes(), size);
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
