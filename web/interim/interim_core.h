#pragma once
// TEMPORARY: stand-ins for the silent core interfaces being moved onto main;
// removed once the branch is rebased onto them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "geometry/camera.h"
#include "maze/maze.h"
#include "render/bitmap_loader.h"

enum Movement { MoveForward = 0, TurnLeft = 1, TurnRight = 2, MoveBackward = 3, Idle = 4 };
struct WalkerState {
    int movement = Idle;
    point2 position{0, 0};
    int heading = 1;
    float forwardDist = 0, backwardDist = 0;
    int leftAngle = 0, rightAngle = 0;
};
struct WalkerPace {
    float moveStep = 0.2f;
    int turnStep = 10;
    int cellSpacing = 2;
};
bool playMotionFrame(WalkerState&, const maze&, int exitCount, Camera&, const WalkerPace&);
void resetWalkerState(WalkerState&, point2 start);

enum class KeyCommand { None, Quit, Forward, Backward, TurnLeft, TurnRight, CycleView };
KeyCommand keyCommand(unsigned char key);
void startMotion(WalkerState&, KeyCommand);
int nextFieldOfView(int frustPos);

std::string frameRateTitle(const char* appName, int frames);
class FrameRateCounter {
public:
    bool tick(uint32_t nowMs, std::string* title);
private:
    float frames_ = 0, last_ = 0;
};

bool readMaze(maze& level, const char* bytes, size_t size);
RgbImage* decodeBitmap(const unsigned char* bytes, size_t size, std::string* err);
