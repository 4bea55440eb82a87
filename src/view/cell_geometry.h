#pragma once

// The two shapes every cell is drawn from, as plain vertex tables shared by
// the desktop's display lists and the web renderer. Each vertex is a texture
// coordinate and the signs of its position, scaled by the half-size when drawn.
struct TexVertex {
    float s, t;
    int x, y, z;
};

// Six quads, four vertices each, counter-clockwise seen from outside: bottom,
// +z, top, -z, +x, -x. Side faces have t = 0 at the bottom so wall textures
// stand upright.
const int kCubeVertexCount = 24;
extern const TexVertex kCubeVertices[kCubeVertexCount];

// One quad at y = -half-size, counter-clockwise from above; the texture
// repeats twice along each edge.
const int kFloorVertexCount = 4;
extern const TexVertex kFloorVertices[kFloorVertexCount];
