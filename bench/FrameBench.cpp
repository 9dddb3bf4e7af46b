// The cost of one whole frame of the game on a level full of trees and snow: the update, the
// world, the overlay and the buffer swap, in the game's own window.
#include "app/Video.h"
#include "assets/Assets.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Update.h"
#include "render/Hud.h"
#include "render/World.h"

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <unistd.h>

namespace {

// A tree on every other cell in both directions and round the border, snow on every other
// point; with `everything`, a tree on every cell and snow on every point, the most a level
// can draw.
void FillLevel(bool everything) {
    for (int i = 0; i < MazeCells; ++i) {
        for (int j = 0; j < MazeCells; ++j) {
            const bool border = i == 0 || j == 0 || i == MazeCells - 1 || j == MazeCells - 1;
            LevelMap.walls[i][j] = everything || border || (i % 2 == 0 && j % 2 == 0) ? 1 : 0;
            LevelMap.wallOffsets[i][j] = -0.01f * static_cast<float>((i * 7 + j * 3) % 100);
        }
    }
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            const int i = (a + 1) / 2;
            const int j = (b + 1) / 2;
            const bool open = i < MazeCells && j < MazeCells && LevelMap.walls[i][j] == 0;
            LevelMap.snow[a][b] = everything || open ? 1 : 0;
            LevelMap.snowOffsets[a][b] = -0.005f * static_cast<float>((a * 31 + b) % 100);
        }
    }
    GameState.snowTotal = 2500;
    GameState.snowCollected = 0;
    ResetPlayer();
}

void Frame(benchmark::State& state) {
    FillLevel(state.range(0) != 0);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        UpdateGame(1.0f);
        DrawWorld();
        DrawHud();
        SDL_GL_SwapBuffers();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(Frame)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("every_cell")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    InitVideo();
    if (chdir(SOURCE_DIR) != 0) {
        return 1;
    }
    PrepareAssets();
    NewGame();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    SDL_Quit();
    return 0;
}
