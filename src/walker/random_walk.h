#pragma once

#include <cstddef>
#include <string>

#include "maze/maze.h"
#include "maze/maze_generator.h"
#include "walker/walk_session.h"

// Walks through random mazes, one after another, as a player would who knows
// the way: the fewest keys to an exit (solveLevel), each pressed as soon as
// the last motion has ended.

// Puts the next random maze of `*request` that has a way to an exit (every
// generated maze has one) into `*level` and its walk into `*keys`; the seed
// moves on by one for every maze generated.
void nextSolvableMaze(MazeRequest* request, maze* level, std::string* keys);

// A walk that goes on for ever: at each exit the next random maze starts.
class RandomMazeWalk {
public:
    // The first maze is `first`; later ones take the following seeds.
    explicit RandomMazeWalk(const MazeRequest& first) : request_(first) {}

    // Puts the next maze into the session and starts it afresh there.
    void nextMaze(WalkSession* session);

    // One motion frame: the next key of the way when the walker is idle, then
    // the frame itself. A step onto an exit starts the next maze; true then.
    bool frame(WalkSession* session);

    // The request the next maze will be generated from.
    const MazeRequest& request() const { return request_; }

private:
    MazeRequest request_;
    std::string keys_;
    size_t nextKey_ = 0;
};
