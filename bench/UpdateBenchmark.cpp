// Measures one step of the game on a level full of snow and on one without any.
#include "app/Input.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Update.h"
#include "support/Scratch.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <sstream>

namespace {

// An open field: snow on every point but the start cell, 2491 piles.
void BuildOpenField() {
    ResetGlobalRecords();
    std::istringstream nothing;
    LoadLevelFrom(nothing);
    ResetPlayer();
    InputState.mouseX = 320;
    InputState.mouseY = 240;
}

// The ball rests at the start and gathers nothing, so every step sees the same full level.
void FullLevelSmallBall(benchmark::State& state) {
    BuildOpenField();
    for (auto _ : state) {
        UpdateGame(1.0f);
    }
    benchmark::DoNotOptimize(GameState.ballSize);
    state.counters["piles"] = static_cast<double>(GameState.snowTotal - GameState.snowCollected);
    ResetGlobalRecords();
}

// A full-grown ball in a clearing just wider than its reach, the rest of the field full.
void FullLevelLargeBall(benchmark::State& state) {
    BuildOpenField();
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            if (std::hypot(2.5f * a - StartX, 2.5f * b - StartZ) < 10.5f) {
                LevelMap.snow[a][b] = 0;
            }
        }
    }
    for (auto _ : state) {
        GameState.ballSize = 1.0f;
        UpdateGame(1.0f);
    }
    benchmark::DoNotOptimize(GameState.ballSize);
    state.counters["piles"] = static_cast<double>(GameState.snowTotal - GameState.snowCollected);
    ResetGlobalRecords();
}

// No snow at all, the ball rolling under a held key between the trees of the field's edge.
void EmptyLevel(benchmark::State& state) {
    BuildOpenField();
    std::memset(LevelMap.snow, 0, sizeof LevelMap.snow);
    GameState.snowTotal = 1; // never complete, so the level stays empty
    InputState.keys[119] = ButtonState::Held;
    InputState.mouseX = 400;
    for (auto _ : state) {
        UpdateGame(1.0f);
    }
    benchmark::DoNotOptimize(GameState.ballX);
    ResetGlobalRecords();
}

} // namespace

BENCHMARK(FullLevelSmallBall);
BENCHMARK(FullLevelLargeBall);
BENCHMARK(EmptyLevel);
BENCHMARK_MAIN();
