#include "app/demo.h"

#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "app/keyboard.h"
#include "app/main2.h"
#include "app/walker.h"
#include "maze/maze_generator.h"
#include "maze/maze_search.h"
#include "walker/random_walk.h"
#include "walker/program.h"

namespace {

bool g_prepared = false;
bool g_randomMazes = false;
MazeRequest g_request;  // the next random maze; the seed moves on by one each time
std::string g_keys;     // the walk through the current maze
size_t g_nextKey = 0;

// Fills g_level with the next random maze that has a way to an exit (every
// generated maze has one) and plans the walk through it.
void nextRandomMaze()
{
    nextSolvableMaze(&g_request, &g_level, &g_keys);
    g_nextKey = 0;
}

// The idle callback: the next key as soon as the walker has finished a motion.
void feedNextKey()
{
    if (g_movement == Idle && g_nextKey < g_keys.size())
        keyboardHandler(static_cast<unsigned char>(g_keys[g_nextKey++]), 0, 0);
}

void endOnKey(unsigned char, int, int) { std::exit(0); }
void endOnSpecialKey(int, int, int) { std::exit(0); }

}  // namespace

bool prepareDemo(const std::string& mazeFile, bool fileGiven)
{
    g_prepared = true;
    if (!fileGiven) {
        g_randomMazes = true;
        g_request.seed = std::random_device()();
        return true;
    }
    std::FILE* f = openMazeFile(mazeFile);
    if (!f) {
        std::fprintf(stderr, "%s\n", mazeMissingLine(mazeFile).c_str());
        return false;
    }
    maze m;
    m.read(f);
    std::fclose(f);
    if (!solveLevel(m, &g_keys)) {
        std::fprintf(stderr, "maze: %s: no exit can be reached from the start\n", mazeFile.c_str());
        return false;
    }
    return true;
}

void startDemo()
{
    glutIdleFunc(feedNextKey);
    glutKeyboardFunc(endOnKey);
    glutSpecialFunc(endOnSpecialKey);
}

bool loadDemoMaze()
{
    if (g_randomMazes)
        nextRandomMaze();
    return g_randomMazes;
}

bool demoNextMaze()
{
    if (!loadDemoMaze())
        return false;
    // As viewInit starts a walk; the lists and textures stay.
    g_session.restart();
    return true;
}

bool demoPrepared()
{
    return g_prepared;
}
