// The cost of preparing the meshes at start-up. Each round first puts the authored tables back,
// so the restore alone is measured too and is to be subtracted.
#include "assets/Meshes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {
std::vector<std::vector<float>> authored;

Mesh* const Meshes[] = {&FloorTile, &SnowPile, &FigureSmall, &FigureLarge, &FirTree};

void SaveAuthored() {
    if (!authored.empty()) {
        return;
    }
    for (Mesh* mesh : Meshes) {
        const int n = mesh->vertexCount;
        authored.emplace_back(mesh->positions, mesh->positions + n * 3);
        authored.emplace_back(mesh->texCoords, mesh->texCoords + n * 2);
        authored.emplace_back(mesh->normals, mesh->normals + n * 3);
    }
}

void RestoreAuthored() {
    int k = 0;
    for (Mesh* mesh : Meshes) {
        for (float* array : {mesh->positions, mesh->texCoords, mesh->normals}) {
            std::copy(authored[k].begin(), authored[k].end(), array);
            ++k;
        }
    }
}

void RestoreOnly(benchmark::State& state) {
    SaveAuthored();
    for (auto _ : state) {
        RestoreAuthored();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RestoreOnly)->Unit(benchmark::kMicrosecond);

void RestoreAndPrepare(benchmark::State& state) {
    SaveAuthored();
    for (auto _ : state) {
        RestoreAuthored();
        PrepareMeshes();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RestoreAndPrepare)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
