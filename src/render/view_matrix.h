#pragma once

// The desktop's view-matrix loader (setViewMatrixLoader): replaces GL's
// model-view matrix with `m` (column-major) and leaves the model-view matrix
// current. Needs a current GL context.
void loadModelViewMatrix(const float m[16]);
