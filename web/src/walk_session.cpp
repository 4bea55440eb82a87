#include "walk_session.h"

namespace {

// The three fields of view "v" cycles through, the middle one first.
const float kFieldsOfView[3] = {150.0f, 100.0f, 50.0f};
const float kEyeHeight = 0.5f;

}  // namespace

const WalkerPace WalkSession::kPace;

void WalkSession::start(const char* bytes, size_t size)
{
    bytes_.assign(bytes, size);
    restart();
}

void WalkSession::restart()
{
    level_.read(bytes_.data(), bytes_.size());
    exitCount_ = level_.getExitCount();
    const point2 start = level_.getStart();
    const float x = float(start.column * kPace.cellSpacing);
    const float z = float(start.row * kPace.cellSpacing);
    // Eye on the start cell, looking straight along +x.
    camera_.set(Point3(x, kEyeHeight, z), Point3(x + 10.0f, kEyeHeight, z), Vector3(0.0f, 1.0f, 0.0f));
    resetWalkerState(walker_, start);
    frustPos_ = 1;
}

KeyCommand WalkSession::key(unsigned char code)
{
    const KeyCommand command = keyCommand(code);
    if (command == KeyCommand::CycleView)
        frustPos_ = nextFieldOfView(frustPos_);
    else
        startMotion(walker_, command);
    return command;
}

bool WalkSession::frame()
{
    return playMotionFrame(walker_, level_, exitCount_, camera_, kPace);
}

ViewVolume WalkSession::viewVolume(float aspect) const
{
    return ViewVolume{kFieldsOfView[frustPos_], aspect, 0.2f, 10.0f};
}

const std::vector<point2>& WalkSession::cellsToDraw(float aspect)
{
    visibleCells(level_, kPace.cellSpacing, camera_, viewVolume(aspect), &cells_);
    return cells_;
}
