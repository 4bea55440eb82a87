#pragma once
// TEMPORARY: the GL-free cell look is moving into the core with the culling
// work; removed once the branch is rebased onto it.
#include "render/maze_renderer.h"
