#include "walker/random_walk.h"

#include "maze/maze_search.h"

void nextSolvableMaze(MazeRequest* request, maze* level, std::string* keys)
{
    do {
        const std::string text = generateMaze(*request);
        ++request->seed;
        level->read(text.data(), text.size());
    } while (!solveLevel(*level, keys));
}

void RandomMazeWalk::nextMaze(WalkSession* session)
{
    nextSolvableMaze(&request_, &session->level, &keys_);
    nextKey_ = 0;
    session->restart();
}

bool RandomMazeWalk::frame(WalkSession* session)
{
    if (session->walker.movement == Idle && nextKey_ < keys_.size())
        session->key(static_cast<unsigned char>(keys_[nextKey_++]));
    if (session->frame() != WalkEvent::ExitReached)
        return false;
    nextMaze(session);
    return true;
}
