// Shapes of the built-in meshes, computed in model units from their tables.
#pragma once

#include <vector>

struct Point {
    double x;
    double y;
    double z;
};

struct Vertex {
    Point position;
    double u; // across the mesh's own atlas cell, 0 to 1
    double v;
    Point normal;
    int part; // the piece of the model the vertex belongs to; the shell moves it along that piece
};

// One mesh as built. The figure fills both forms with one vertex order; the others only `small`.
struct MeshBuild {
    std::vector<Vertex> small;
    std::vector<Vertex> large;
};

void BuildFloorTile(MeshBuild& mesh);
void BuildSnowPile(MeshBuild& mesh);
void BuildFigure(MeshBuild& mesh);
void BuildFirTree(MeshBuild& mesh);
