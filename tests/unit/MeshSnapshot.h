// Saves the five mesh tables and puts them back, so a test may prepare them in place.
#pragma once

#include "assets/Meshes.h"

#include <algorithm>
#include <vector>

struct MeshSnapshot {
    struct Saved {
        Mesh* mesh;
        std::vector<float> positions;
        std::vector<float> texCoords;
        std::vector<float> normals;
    };
    std::vector<Saved> saved;

    MeshSnapshot() {
        for (Mesh* mesh : {&FloorTile, &SnowPile, &FigureSmall, &FigureLarge, &FirTree}) {
            const int n = mesh->vertexCount;
            saved.push_back({mesh,
                             {mesh->positions, mesh->positions + n * 3},
                             {mesh->texCoords, mesh->texCoords + n * 2},
                             {mesh->normals, mesh->normals + n * 3}});
        }
    }
    ~MeshSnapshot() {
        for (const Saved& s : saved) {
            std::copy(s.positions.begin(), s.positions.end(), s.mesh->positions);
            std::copy(s.texCoords.begin(), s.texCoords.end(), s.mesh->texCoords);
            std::copy(s.normals.begin(), s.normals.end(), s.mesh->normals);
        }
    }
    MeshSnapshot(const MeshSnapshot&) = delete;
    MeshSnapshot& operator=(const MeshSnapshot&) = delete;
};
