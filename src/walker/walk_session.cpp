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
    motionKeys = 0;
    for (auto& row : seen_)
        for (bool& cell : row)
            cell = false;
    ++seenChanges_;
    markSeen(start);
}

KeyCommand WalkSession::key(unsigned char code)
{
    if (quitAsked)
        return KeyCommand::None;
    const KeyCommand command = keyCommand(code);
    switch (command) {
    case KeyCommand::Quit: quitAsked = true; break;
    case KeyCommand::CycleView: fieldOfView = nextFieldOfView(fieldOfView); break;
    default:
        if (walker.movement == Idle && command != KeyCommand::None) {
            startMotion(walker, command);
            ++motionKeys;
        }
        break;
    }
    return command;
}

WalkEvent WalkSession::frame()
{
    if (quitAsked)
        return WalkEvent::QuitAsked;
    const bool exit = playMotionFrame(walker, level, exitCount, camera, pace);
    markSeen(walker.position);
    return exit ? WalkEvent::ExitReached : WalkEvent::None;
}

ViewVolume WalkSession::viewVolume(float aspect) const
{
    return ViewVolume{kFieldsOfView[fieldOfView], aspect, float(kNearPlane), float(kFarPlane)};
}

const std::vector<point2>& WalkSession::cellsToDraw(float aspect)
{
    visibleCells(level, pace.cellSpacing, camera, viewVolume(aspect), &cells_);
    for (const point2& cell : cells_)
        markSeen(cell);
    return cells_;
}

bool WalkSession::seen(point2 cell) const
{
    return cell.column >= 0 && cell.column < maze::kMaxSize && cell.row >= 0 && cell.row < maze::kMaxSize &&
           seen_[cell.row][cell.column];
}

void WalkSession::markSeen(point2 cell)
{
    if (cell.column >= 0 && cell.column < maze::kMaxSize && cell.row >= 0 && cell.row < maze::kMaxSize &&
        !seen_[cell.row][cell.column]) {
        seen_[cell.row][cell.column] = true;
        ++seenChanges_;
    }
}
