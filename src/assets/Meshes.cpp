#include "assets/Meshes.h"

#include <cmath>

namespace {
// Each mesh's authored size against the world, and the column of its cell in the atlas.
constexpr float FloorScale = 0.1f;
constexpr float PileScale = 0.15f;
constexpr float FigureScale = 0.1f;
constexpr float TreeScale = 0.1f;
constexpr float CellSize = 0.25f; // a mesh cell is a quarter of the atlas each way
constexpr int FloorColumn = 0;
constexpr int PileColumn = 1;
constexpr int FigureColumn = 2;
constexpr int TreeColumn = 3;

void ScalePositions(Mesh& mesh, float factor) {
    for (int i = 0; i < mesh.vertexCount * 3; ++i) {
        mesh.positions[i] *= factor;
    }
}

// Moves coordinates that span a whole texture into the mesh's cell of the atlas's top row.
void RemapTexCoords(Mesh& mesh, int column) {
    for (int i = 0; i < mesh.vertexCount; ++i) {
        float& u = mesh.texCoords[i * 2];
        float& v = mesh.texCoords[i * 2 + 1];
        const float shifted = u + static_cast<float>(column);
        u = shifted * CellSize;
        v *= CellSize;
    }
}

// Flat shading: each triangle's three vertices get the triangle's own front-facing normal.
void SetFlatNormals(Mesh& mesh) {
    for (int t = 0; t + 2 < mesh.vertexCount; t += 3) {
        const float* corner = mesh.positions + t * 3;
        const Vector3 back = FaceNormal(corner, corner + 3, corner + 6);
        for (int k = 0; k < 3; ++k) {
            float* normal = mesh.normals + (t + k) * 3;
            normal[0] = -back.x;
            normal[1] = -back.y;
            normal[2] = -back.z;
        }
    }
}
} // namespace

Vector3 Normalize(float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    return {x / length, y / length, z / length};
}

Vector3 FaceNormal(const float* a, const float* b, const float* c) {
    const float ca[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const float ba[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    return Normalize(ca[1] * ba[2] - ca[2] * ba[1], ca[2] * ba[0] - ca[0] * ba[2],
                     ca[0] * ba[1] - ca[1] * ba[0]);
}

void PrepareMeshes() {
    ScalePositions(FloorTile, FloorScale);
    ScalePositions(SnowPile, PileScale);
    ScalePositions(FigureSmall, FigureScale);
    ScalePositions(FigureLarge, FigureScale);
    ScalePositions(FirTree, TreeScale);
    RemapTexCoords(FloorTile, FloorColumn);
    RemapTexCoords(SnowPile, PileColumn);
    RemapTexCoords(FigureSmall, FigureColumn);
    RemapTexCoords(FigureLarge, FigureColumn);
    RemapTexCoords(FirTree, TreeColumn);
    SetFlatNormals(SnowPile);
}
