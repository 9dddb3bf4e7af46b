// The 3-D world: floor, trees, snow piles and the figure, seen from the camera.
#pragma once

constexpr int FigureFloats = 7992; // x, y, z of the figure's 2664 vertices

// Draws the world; leaves texturing and the client arrays off and the camera transform in the
// model-view matrix.
void DrawWorld();

// Loads the camera transform into the model-view matrix.
void PlaceCamera();

// Draws the figure on the ground at the ball, its nose along the heading, from client arrays;
// needs the vertex and texture coordinate arrays (and the normal array, if normals are wanted)
// and the atlas enabled.
void DrawFigure();

// Blends the positions of the small and the large figure by `ballSize` into the figure buffer
// and returns it. The buffer has static storage and is refilled on every call, so the figure
// costs no allocation; what it returns stays valid until the next call.
const float* BuildFigureMesh();
