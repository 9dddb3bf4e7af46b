// The five built-in meshes, drawn as independent triangles from client-side arrays.
#pragma once

#include <cstdint>

struct Mesh {
    std::int32_t vertexCount; // a multiple of 3
    float* positions;         // x, y, z per vertex
    float* texCoords;         // u, v per vertex
    float* normals;           // x, y, z per vertex
};

constexpr int FloorTileVertices = 6;
constexpr int SnowPileVertices = 66;
constexpr int FigureVertices = 2664;
constexpr int FirTreeVertices = 444;

extern Mesh FloorTile;   // one maze cell of ground
extern Mesh SnowPile;    // an octagonal heap of snow
extern Mesh FigureSmall; // the figure at ball size 0
extern Mesh FigureLarge; // the figure at ball size 1: positions only, the blend target
extern Mesh FirTree;     // the tree of a wall cell

struct Vector3 {
    float x;
    float y;
    float z;
};

// (x, y, z) divided by its length; the length must not be 0.
Vector3 Normalize(float x, float y, float z);
// The unit vector of (c - a) x (b - a): it points to the back of a counter-clockwise triangle.
Vector3 FaceNormal(const float* a, const float* b, const float* c);

// Turns the authored meshes in place into world units and atlas coordinates and gives the snow
// pile its flat normals. Runs exactly once: a second run would scale everything again.
void PrepareMeshes();
