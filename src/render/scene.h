#pragma once

#include "view/cell_culling.h"

// The GL state the walk is drawn in, shared by every desktop front end.

// Sets the state every frame of the walk is drawn in: the sky as the clear
// colour, depth test, back faces culled, smooth lines, alpha blending; and
// hands every camera's view matrix to GL's model-view matrix. Needs a
// current GL context.
void setupScene();

// Replaces the projection matrix with the perspective of `view` (its field of
// view and aspect; the clip planes are always kNearPlane and kFarPlane) and
// leaves the model-view matrix current.
void applyPerspective(const ViewVolume& view);
