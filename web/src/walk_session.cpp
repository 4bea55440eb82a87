#include "walk_session.h"

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
    Point3 eye, look;
    startViewpoint(start, kPace.cellSpacing, kEyeHeight, &eye, &look);
    camera_.set(eye, look, Vector3(0.0f, 1.0f, 0.0f));
    resetWalkerState(walker_, start);
    frustPos_ = kFirstFieldOfView;
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
    return ViewVolume{kFieldsOfView[frustPos_], aspect, float(kNearPlane), float(kFarPlane)};
}

const std::vector<point2>& WalkSession::cellsToDraw(float aspect)
{
    visibleCells(level_, kPace.cellSpacing, camera_, viewVolume(aspect), &cells_);
    return cells_;
}
