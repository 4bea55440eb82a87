#include "walker/walk_session.h"

void WalkSession::open(const char* bytes, size_t size)
{
    bytes_.assign(bytes, size);
    level.read(bytes_.data(), bytes_.size());
    restart();
}

void WalkSession::restart()
{
    start = level.getStart();
    exitCount = level.getExitCount();
    startViewpoint(start, pace.cellSpacing, eyeHeight, &eye, &look);
    camera.set(eye, look, up);
    resetWalkerState(walker, start);
    fieldOfView = kFirstFieldOfView;
    quitAsked = false;
}

KeyCommand WalkSession::key(unsigned char code)
{
    if (quitAsked)
        return KeyCommand::None;
    const KeyCommand command = keyCommand(code);
    switch (command) {
    case KeyCommand::Quit: quitAsked = true; break;
    case KeyCommand::CycleView: fieldOfView = nextFieldOfView(fieldOfView); break;
    default: startMotion(walker, command); break;
    }
    return command;
}

WalkEvent WalkSession::frame()
{
    if (quitAsked)
        return WalkEvent::QuitAsked;
    return playMotionFrame(walker, level, exitCount, camera, pace) ? WalkEvent::ExitReached : WalkEvent::None;
}

ViewVolume WalkSession::viewVolume(float aspect) const
{
    return ViewVolume{kFieldsOfView[fieldOfView], aspect, float(kNearPlane), float(kFarPlane)};
}

const std::vector<point2>& WalkSession::cellsToDraw(float aspect)
{
    visibleCells(level, pace.cellSpacing, camera, viewVolume(aspect), &cells_);
    return cells_;
}
