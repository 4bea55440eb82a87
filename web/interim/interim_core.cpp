// TEMPORARY: see interim_core.h.
#include "interim/interim_core.h"

#include <cstdio>

#include "platform/message_box.h"

namespace {
std::string g_lastBox;
point2 target(point2 from, int heading, int direction)
{
    static const int k[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    int s = direction == 0 ? 1 : -1;
    return point2{from.column + s * k[heading][0], from.row + s * k[heading][1]};
}
bool open(char c) { return c == ' ' || c == '*' || c == 'x'; }
}  // namespace

void showMessageBox(const char* text, const char*) { g_lastBox = text; }

bool playMotionFrame(WalkerState& w, const maze& m, int exitCount, Camera& cam, const WalkerPace& p)
{
    auto step = [&](int dir, float& dist, float slide) {
        point2 to = target(w.position, w.heading, dir);
        if (!open(m.getElement(to.column, to.row))) { w.movement = Idle; return false; }
        if (float(p.cellSpacing) > dist) { cam.slide(0, 0, slide); dist += p.moveStep; return false; }
        w.movement = Idle; dist = 0; w.position = to;
        for (int i = 0; i < exitCount; ++i) {
            point2 e = m.getExit(i);
            if (e.column == to.column && e.row == to.row) return true;
        }
        return false;
    };
    auto turn = [&](int& angle, int sign, int change) {
        if (angle < 90) { cam.yaw(float(sign * p.turnStep)); angle += p.turnStep; return; }
        w.heading = (w.heading + change) % 4; angle = 0; w.movement = Idle;
    };
    switch (w.movement) {
    case MoveForward: return step(0, w.forwardDist, -p.moveStep);
    case MoveBackward: return step(1, w.backwardDist, p.moveStep);
    case TurnRight: turn(w.rightAngle, 1, 1); break;
    case TurnLeft: turn(w.leftAngle, -1, 3); break;
    default: break;
    }
    return false;
}
void resetWalkerState(WalkerState& w, point2 start) { w = WalkerState(); w.position = start; }
KeyCommand keyCommand(unsigned char k)
{
    switch (k) {
    case 27: case 'q': case 'Q': return KeyCommand::Quit;
    case 'w': return KeyCommand::Forward;
    case 's': return KeyCommand::Backward;
    case 'a': return KeyCommand::TurnLeft;
    case 'd': return KeyCommand::TurnRight;
    case 'v': case 'V': return KeyCommand::CycleView;
    default: return KeyCommand::None;
    }
}
void startMotion(WalkerState& w, KeyCommand c)
{
    if (w.movement != Idle) return;
    if (c == KeyCommand::Forward) w.movement = MoveForward;
    if (c == KeyCommand::Backward) w.movement = MoveBackward;
    if (c == KeyCommand::TurnLeft) w.movement = TurnLeft;
    if (c == KeyCommand::TurnRight) w.movement = TurnRight;
}
int nextFieldOfView(int f) { return f + 1 > 2 ? 0 : f + 1; }
std::string frameRateTitle(const char* app, int frames)
{
    char t[64];
    std::snprintf(t, sizeof t, "%s Current Frames Per Second: %d", app, frames);
    return t;
}
bool FrameRateCounter::tick(uint32_t now, std::string* title)
{
    float t = float(now * 0.001);
    frames_ += 1;
    if (t - last_ > 1.0f) { last_ = t; *title = frameRateTitle("Maze: ", int(frames_)); frames_ = 0; return true; }
    return false;
}
bool readMaze(maze& level, const char* bytes, size_t size)
{
    std::FILE* f = std::fopen("/tmp_maze.dat", "wb");
    std::fwrite(bytes, 1, size, f);
    std::fclose(f);
    level = maze();
    return level.loadLevel("/tmp_maze.dat");
}
RgbImage* decodeBitmap(const unsigned char* bytes, size_t size, std::string* err)
{
    g_lastBox.clear();
    RgbImage* img = decodeBitmapBuffer(bytes, size);
    if (!img) *err = g_lastBox;
    return img;
}
#include "render/maze_renderer.h"
bool cellLook(char cell, CellLook& look)
{
    switch (cell) {
    case ' ': case '*': case 'x': look = {0, 0, 0.5f, 0.5f, 0.5f}; return true;
    case 'r': look = {1, 1, 1, 0, 0}; return true;
    case 'g': look = {1, 2, 0, 1, 0}; return true;
    case 'b': look = {1, 3, 0, 0, 1}; return true;
    case 'c': look = {1, 4, 0, 1, 1}; return true;
    case 'm': look = {1, 5, 1, 0, 1}; return true;
    case 'y': look = {1, 6, 1, 1, 0}; return true;
    default: return false;
    }
}
