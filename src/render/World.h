// The 3-D world: floor, trees, snow piles and the figure, seen from the camera.
#pragma once

struct Mesh;

constexpr int FigureFloats = 7992; // x, y, z of the figure's 2664 vertices

enum class Piece { Floor, Tree, Pile };

// One mesh of the level where it stands; a pile also names its snow point.
struct Placement {
    Piece piece;
    const Mesh* mesh;
    float x;
    float y;
    float z;
    int snowA;
    int snowB;
};

// The pile of snow point (a, b) where it stands, whether or not it still holds snow.
Placement PlacePile(int a, int b);

// Gives `place` every floor tile, then every tree, then every pile that still holds snow: the
// one walk of the level that both ways of drawing the world share.
void WalkWorld(void (*place)(const Placement&));

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
