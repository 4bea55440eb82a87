#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/keyboard.h"
#include "app/main2.h"
#include "app/walker.h"
#include "temp_file.h"

// The walker and keys drive the camera, whose GL matrix loads are no-ops
// without a current context; the camera's fields carry the motion.
namespace {

class WalkerTest : public testing::Test {
protected:
    // Loads a maze and puts the walker on its start the way start-up does.
    void start(const std::string& text)
    {
        TempFile file(text);
        g_level = maze();
        testing::internal::CaptureStdout();
        ASSERT_TRUE(g_level.loadLevel(file.path));
        testing::internal::GetCapturedStdout();
        g_start = g_level.getStart();
        g_exitCount = g_level.getExitCount();
        float x = float(g_start.column * g_cubeFactor), z = float(g_start.row * g_cubeFactor);
        g_camera.set(Point3(x, 0.5f, z), Point3(x + 10, 0.5f, z), Vector3(0, 1, 0));
        resetWalker();
    }

    // Presses a key and plays frames until the walker is idle; returns the frame count.
    int play(unsigned char key)
    {
        keyboardHandler(key, 0, 0);
        int frames = 0;
        while (g_movement != Idle && frames < 100) {
            updateMovement();
            ++frames;
        }
        return frames;
    }

    // The direction the camera looks in (-n).
    void expectView(float x, float z, float tol = 1e-5f)
    {
        EXPECT_NEAR(-g_camera.n.x, x, tol);
        EXPECT_NEAR(-g_camera.n.y, 0, tol);
        EXPECT_NEAR(-g_camera.n.z, z, tol);
    }
};

// Open corridor: start in (2, 1) with room on both sides.
const char* kCorridor =
    "rrrrrrr\n"
    "r  *  r\n"
    "rrrrrrr\n";

TEST_F(WalkerTest, MotionsTakeTheirFrames)
{
    struct Case { unsigned char key; int heading; int frames; int column, headingAfter; } cases[] = {
        {'w', 1, 11, 4, 1}, {'s', 1, 11, 2, 1}, {'d', 1, 10, 3, 2},
        {'a', 1, 10, 3, 0}, {'w', 2, 1, 3, 2},  // facing the wall: refused
    };
    for (const Case& c : cases) {
        start(kCorridor);
        g_heading = c.heading;
        EXPECT_EQ(play(c.key), c.frames) << "key " << c.key;
        EXPECT_EQ(g_position.column, c.column) << "key " << c.key;
        EXPECT_EQ(g_position.row, 1);
        EXPECT_EQ(g_heading, c.headingAfter);
        EXPECT_EQ(g_forwardDist, 0.0f);
        EXPECT_EQ(g_backwardDist, 0.0f);
        EXPECT_EQ(g_leftAngle, 0);
        EXPECT_EQ(g_rightAngle, 0);
    }
}

TEST_F(WalkerTest, AStepSlidesTenTimesThenMovesTheCell)
{
    start(kCorridor);
    keyboardHandler('w', 0, 0);
    for (int frame = 1; frame <= 10; ++frame) {
        updateMovement();
        EXPECT_EQ(g_movement, MoveForward) << "frame " << frame;
        EXPECT_NEAR(g_camera.eye.x, 6.0f + 0.2f * frame, 1e-5f) << "frame " << frame;
        EXPECT_EQ(g_position.column, 3) << "cell changes only at the end";
    }
    updateMovement();  // the completing frame does not slide
    EXPECT_EQ(g_movement, Idle);
    EXPECT_NEAR(g_camera.eye.x, 8.0f, 1e-5f);
    EXPECT_EQ(g_position.column, 4);
    EXPECT_FLOAT_EQ(g_camera.eye.y, 0.5f);
    EXPECT_FLOAT_EQ(g_camera.eye.z, 2.0f);
}

TEST_F(WalkerTest, BackwardStepMovesAgainstTheView)
{
    start(kCorridor);
    EXPECT_EQ(play('s'), 11);
    EXPECT_EQ(g_position.column, 2);
    EXPECT_NEAR(g_camera.eye.x, 4.0f, 1e-5f);
    expectView(1, 0);
}

TEST_F(WalkerTest, BlockedStepIsRefusedOnItsFirstFrame)
{
    start("rrr\nr*r\nrrr\n");
    for (unsigned char key : {'w', 's'}) {
        EXPECT_EQ(play(key), 1);
        EXPECT_EQ(g_position.column, 1);
        EXPECT_FLOAT_EQ(g_camera.eye.x, 2.0f);
    }
    keyboardHandler('d', 0, 0);  // the next key is taken at once
    EXPECT_EQ(g_movement, TurnRight);
}

TEST_F(WalkerTest, StepsOffTheGridAreBlocked)
{
    // Open cells on the grid's edges: every step outwards must stay put.
    start("*\n");
    for (int heading = 0; heading < 4; ++heading) {
        g_heading = heading;
        EXPECT_FALSE(canMove(0)) << "heading " << heading;
        EXPECT_FALSE(canMove(1)) << "heading " << heading;
    }
    std::string wide(31, ' ');
    start(wide + "*\n");
    g_heading = 1;
    EXPECT_FALSE(canMove(0));
    EXPECT_TRUE(canMove(1));
}

TEST_F(WalkerTest, TurnsCycleTheHeadingAndTheView)
{
    start(kCorridor);
    const float views[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};  // per heading: x, z
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(play('d'), 10);
        EXPECT_EQ(g_heading, (1 + i) % 4);
        expectView(views[g_heading][0], views[g_heading][1]);
    }
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(play('a'), 10);
        EXPECT_EQ(g_heading, (1 + 4 * 4 - i) % 4);
        expectView(views[g_heading][0], views[g_heading][1]);
    }
    EXPECT_EQ(g_position.column, 3);
    EXPECT_FLOAT_EQ(g_camera.eye.x, 6.0f);
}

TEST_F(WalkerTest, KeysDuringAMotionAreDropped)
{
    start(kCorridor);
    keyboardHandler('w', 0, 0);
    updateMovement();
    updateMovement();
    for (unsigned char key : {'a', 'd', 's', 'w'}) {
        keyboardHandler(key, 0, 0);
        EXPECT_EQ(g_movement, MoveForward);
    }
    while (g_movement != Idle)
        updateMovement();
    EXPECT_EQ(g_position.column, 4);
    EXPECT_EQ(g_heading, 1);
    updateMovement();  // nothing was queued
    EXPECT_EQ(g_movement, Idle);
    EXPECT_NEAR(g_camera.eye.x, 8.0f, 1e-5f);
}

TEST_F(WalkerTest, KeysAreCaseSensitive)
{
    start(kCorridor);
    for (unsigned char key : {'W', 'A', 'S', 'D', 'e', ' ', '\r'}) {
        keyboardHandler(key, 0, 0);
        EXPECT_EQ(g_movement, Idle) << "key " << int(key);
    }
    const struct { unsigned char key; int movement; } keys[] = {
        {'w', MoveForward}, {'s', MoveBackward}, {'a', TurnLeft}, {'d', TurnRight}};
    for (const auto& k : keys) {
        g_movement = Idle;
        keyboardHandler(k.key, 0, 0);
        EXPECT_EQ(g_movement, k.movement);
    }
}

TEST_F(WalkerTest, ViewKeyCyclesTheAngle)
{
    start(kCorridor);
    g_FrustPos = 1;
    g_width = 500;
    g_height = 500;
    const float want[] = {50, 150, 100, 50, 150, 100};
    const unsigned char keys[] = {'v', 'v', 'v', 'V', 'V', 'V'};
    for (int i = 0; i < 6; ++i) {
        keyboardHandler(keys[i], 0, 0);
        EXPECT_EQ(FrustArray[g_FrustPos], want[i]) << "press " << i;
    }
}

TEST_F(WalkerTest, StartCellAndTurnsOnAnExitDoNotEndTheProgram)
{
    start("rrrrrr\nr *x r\nrrrrrr\n");
    EXPECT_EQ(play('s'), 11);  // onto an open cell
    EXPECT_EQ(play('w'), 11);  // back onto the start cell
    EXPECT_EQ(g_position.column, 2);
    g_position = g_level.getExit(0);  // standing on the exit, turning is not stepping
    EXPECT_EQ(play('d'), 10);
    EXPECT_EQ(play('a'), 10);
}

// Death tests see stderr only: the statement routes stdout there first.
#define ON_STDERR(stmt) \
    do {                \
        dup2(2, 1);     \
        stmt;           \
    } while (0)

TEST_F(WalkerTest, SteppingOntoAnExitCongratulatesAndExits)
{
    start("rrrrrr\nrx*  r\nrr rxr\nrrrrrr\n");
    // Forward then right onto the second exit; backward onto the first.
    EXPECT_EXIT(ON_STDERR(play('w'); play('w'); play('d'); play('w')),
                testing::ExitedWithCode(0), "^You found the end.  Congratulations!!!!\n$");
    EXPECT_EXIT(ON_STDERR(play('s')), testing::ExitedWithCode(0),
                "^You found the end.  Congratulations!!!!\n$");
}

TEST_F(WalkerTest, QuitKeysExitAtOnceEvenMidMotion)
{
    start(kCorridor);
    const unsigned char quitKeys[] = {'q', 'Q', 27};
    for (unsigned char key : quitKeys) {
        EXPECT_EXIT(ON_STDERR(keyboardHandler('d', 0, 0); updateMovement(); updateMovement();
                              keyboardHandler(key, 0, 0); std::puts("still running")),
                    testing::ExitedWithCode(0), "^$");
    }
}

}  // namespace
