#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "walker/walk_session.h"

namespace {

// Start in (2, 1) of an open corridor, an exit at its right end.
const std::string kCorridor =
    "rrrrrrr\n"
    "r *   x\n"
    "rrrrrrr\n";
const std::string kRoom =
    "ggggg\n"
    "g * g\n"
    "ggggg\n";

struct Snapshot {
    float view[16];
    WalkerState walker;
    int fieldOfView;
};

Snapshot snapshot(const WalkSession& s)
{
    Snapshot shot{};
    s.camera.viewMatrix(shot.view);
    shot.walker = s.walker;
    shot.fieldOfView = s.fieldOfView;
    return shot;
}

void expectSame(const Snapshot& a, const Snapshot& b, const std::string& what)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(a.view[i], b.view[i]) << what << ": view matrix element " << i;
    EXPECT_EQ(a.walker.movement, b.walker.movement) << what;
    EXPECT_EQ(a.walker.position.column, b.walker.position.column) << what;
    EXPECT_EQ(a.walker.position.row, b.walker.position.row) << what;
    EXPECT_EQ(a.walker.heading, b.walker.heading) << what;
    EXPECT_EQ(a.walker.forwardDist, b.walker.forwardDist) << what;
    EXPECT_EQ(a.walker.backwardDist, b.walker.backwardDist) << what;
    EXPECT_EQ(a.walker.leftAngle, b.walker.leftAngle) << what;
    EXPECT_EQ(a.walker.rightAngle, b.walker.rightAngle) << what;
    EXPECT_EQ(a.fieldOfView, b.fieldOfView) << what;
}

// Types the keys, each played to its end.
void play(WalkSession& s, const std::string& keys)
{
    for (char k : keys) {
        s.key((unsigned char)k);
        for (int i = 0; i < 100 && s.walker.movement != Idle; ++i)
            s.frame();
    }
}

void open(WalkSession& s, const std::string& text)
{
    s.open(text.data(), text.size());
}

// Starting again, or on another maze, in the middle of any motion gives
// exactly a fresh walk, and the walk after it goes exactly as a fresh one's.
TEST(WalkSessionTest, ARestartOrANewMazeMidMotionIsAFreshStart)
{
    for (const char* keys : {"w", "s", "a", "d", "vw"}) {
        for (int frames : {1, 5, 9}) {
            for (bool newMaze : {false, true}) {
                const std::string what = std::string("keys ") + keys + ", " + std::to_string(frames) + " frames" +
                                         (newMaze ? ", new maze" : ", restart");
                WalkSession fresh;
                open(fresh, kCorridor);
                WalkSession s;
                open(s, newMaze ? kRoom : kCorridor);
                for (const char* k = keys; *k; ++k)
                    s.key((unsigned char)*k);
                for (int i = 0; i < frames; ++i)
                    s.frame();
                ASSERT_NE(s.walker.movement, Idle) << what;
                if (newMaze)
                    open(s, kCorridor);
                else
                    s.restart();
                expectSame(snapshot(s), snapshot(fresh), what + ", at once");
                play(s, "wd");
                play(fresh, "wd");
                expectSame(snapshot(s), snapshot(fresh), what + ", after a step and a turn");
            }
        }
    }
}

TEST(WalkSessionTest, FramesReportTheExitAndAQuit)
{
    WalkSession s;
    open(s, kCorridor);
    // Four steps to the exit: 11 frames each, the last one reporting it.
    int exitFrame = 0;
    for (int step = 0; step < 4; ++step) {
        EXPECT_EQ(s.key('w'), KeyCommand::Forward);
        for (int f = 1; f <= 11; ++f) {
            const WalkEvent e = s.frame();
            if (e == WalkEvent::ExitReached)
                exitFrame = step * 11 + f;
            else
                EXPECT_EQ(e, WalkEvent::None) << "step " << step << ", frame " << f;
        }
    }
    EXPECT_EQ(exitFrame, 44);
    EXPECT_EQ(s.walker.position.column, 6);

    // A quit is reported by every frame after it, and no key counts until a restart.
    s.restart();
    EXPECT_EQ(s.key('q'), KeyCommand::Quit);
    EXPECT_EQ(s.frame(), WalkEvent::QuitAsked);
    EXPECT_EQ(s.key('w'), KeyCommand::None);
    EXPECT_EQ(s.frame(), WalkEvent::QuitAsked);
    EXPECT_EQ(s.walker.movement, Idle);
    s.restart();
    EXPECT_EQ(s.frame(), WalkEvent::None);
    EXPECT_EQ(s.key('w'), KeyCommand::Forward);
}

TEST(WalkSessionTest, TheFieldOfViewCyclesAndTheViewVolumeFollows)
{
    WalkSession s;
    open(s, kCorridor);
    EXPECT_EQ(s.viewVolume(2.0f).fovyDegrees, 100.0f);
    float seen[3];
    for (float& f : seen) {
        EXPECT_EQ(s.key('v'), KeyCommand::CycleView);
        f = s.viewVolume(2.0f).fovyDegrees;
    }
    EXPECT_EQ(seen[0], 50.0f);
    EXPECT_EQ(seen[1], 150.0f);
    EXPECT_EQ(seen[2], 100.0f);
    const ViewVolume v = s.viewVolume(2.0f);
    EXPECT_EQ(v.aspect, 2.0f);
    EXPECT_EQ(v.zNear, 0.2f);
    EXPECT_EQ(v.zFar, 10.0f);
    // Facing +x along the corridor, nothing behind the eye is drawn.
    for (const point2& c : s.cellsToDraw(1.0f))
        EXPECT_GE(c.column, 1) << "column " << c.column << ", row " << c.row;
}

// What a map may show: cells drawn in the view and cells stood on; only
// keys that started a motion count as the walk's key presses.
TEST(WalkSessionTest, TheWalkRemembersWhatItShowedAndTheKeysItTook)
{
    WalkSession s;
    open(s, kCorridor);
    EXPECT_TRUE(s.seen(point2{2, 1}));  // the start
    EXPECT_FALSE(s.seen(point2{5, 1}));
    s.cellsToDraw(1.0f);
    EXPECT_TRUE(s.seen(point2{5, 1}));       // ahead, in view
    EXPECT_FALSE(s.seen(point2{0, 1}));      // behind the eye
    EXPECT_FALSE(s.seen(point2{-1, 0}));     // outside the grid
    EXPECT_FALSE(s.seen(point2{40, 40}));

    s.key('s');                              // a step back onto (1, 1): taken
    s.key('w');                              // dropped: a motion is playing
    s.key('v');                              // not a walk key
    for (int i = 0; i < 11; ++i)
        s.frame();
    EXPECT_TRUE(s.seen(point2{1, 1}));
    EXPECT_EQ(s.motionKeys, 1);
    s.key('s');                              // refused by the wall, still a press taken
    s.frame();
    EXPECT_EQ(s.motionKeys, 2);

    s.restart();
    EXPECT_EQ(s.motionKeys, 0);
    EXPECT_FALSE(s.seen(point2{5, 1}));
    EXPECT_FALSE(s.seen(point2{1, 1}));
}

}  // namespace
