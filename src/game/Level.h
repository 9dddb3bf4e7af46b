// The maze of the current level: its trees, its snow and their random height offsets.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

constexpr int MazeCells = 25;  // wall cells along each axis
constexpr int SnowPoints = 50; // snow points along each axis
constexpr float CellSize = 5.0f;
constexpr float SnowSpacing = 2.5f;

struct LevelGrids {
    std::uint8_t walls[MazeCells][MazeCells];  // [i][j]: 1 = tree in cell (i, j) at (5i, 5j)
    std::uint8_t snow[SnowPoints][SnowPoints]; // [a][b]: 1 = pile at (2.5a, 2.5b)
    float wallOffsets[MazeCells][MazeCells];   // tree sinks by 0 to 0.99
    float snowOffsets[SnowPoints][SnowPoints]; // pile sinks by 0 to 0.495
};

extern LevelGrids LevelMap;

// Counts the levels built since start-up: what is drawn from a level's grids can tell by it that
// its level has been replaced.
extern std::uint32_t LevelBuilds;

// Reads "Media/level<N>.txt" for N = `GameState.level` into `LevelMap` and counts `snowTotal`.
// A missing, short or strange file leaves the rows it does not describe open.
void LoadLevel();

// Builds `LevelMap` from a level text, as `LoadLevel` does from the file; the level tools and
// the fuzzer feed it their own input.
void LoadLevelFrom(std::istream& text);

// The name of the file of a level: "Media/level<N>.txt".
std::string LevelFileName(std::int32_t level);
