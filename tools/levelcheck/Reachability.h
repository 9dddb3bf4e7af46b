// What a ball can reach in the maze of `LevelMap`: the room around every snow point, and which
// piles a ball of a given size can roll to from the start.
#pragma once

#include "game/Level.h"

// Room around each snow point: its distance to the nearest tree (cells beyond the grid count
// as trees), 0 on or inside a tree, at most `RoomLimit`.
struct RoomGrid {
    float room[SnowPoints][SnowPoints];
};
constexpr float RoomLimit = 20.0f;

// The collision radius of a ball of `size`, as the game computes it.
float BallRadius(float size);

// Fills `grid` from the walls of `LevelMap`.
void MeasureRoom(RoomGrid& grid);

struct ReachReport {
    int reachablePiles;
    int unreachablePiles;
    int openCells;
    // The widest ball that still enters every open cell it can reach has this much room on
    // every side at the narrowest place of its way; 0 when it reaches no cell.
    float narrowestRoom;
};

// Rolls a ball of `size` from the start over the snow points with more room than its radius and
// counts the piles of `LevelMap.snow` it reaches.
ReachReport CheckReach(const RoomGrid& grid, float size);
