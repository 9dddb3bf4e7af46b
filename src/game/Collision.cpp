#include "game/Collision.h"

#include "game/GameState.h"
#include "game/Level.h"

#include <cmath>

namespace {

constexpr float HalfCell = CellSize / 2.0f;
// The radii the game can pass: a ball of size 0 and one of size 1.
constexpr float SmallestRadius = 1.25f;
constexpr float LargestRadius = 8.75f;
constexpr float RadiusPerSize = 7.5f;
// Cell indices are taken from a centre held in this span, so that a centre thrown far off the
// grid (or not a number) still gives a small window of cells, all beyond the grid.
constexpr float IndexSpan = 1000.0f;

bool IsWall(int i, int j) {
    if (i < 0 || j < 0 || i >= MazeCells || j >= MazeCells) {
        return true;
    }
    return LevelMap.walls[i][j] != 0;
}

// The cell whose box holds `coordinate`, truncating toward zero.
int CellIndex(float coordinate) {
    float cell = (coordinate + HalfCell) / CellSize;
    if (!(cell > -IndexSpan)) {
        cell = -IndexSpan;
    } else if (cell > IndexSpan) {
        cell = IndexSpan;
    }
    return static_cast<int>(cell);
}

// Pushes the centre out of a corner of a box to the distance `radius` from it.
void PushFromCorner(float qx, float qz, float cellX, float cellZ, float radius) {
    float x = GameState.ballX;
    float z = GameState.ballZ;
    float distance = std::sqrt((x - qx) * (x - qx) + (z - qz) * (z - qz));
    if (!(distance < radius)) {
        return;
    }
    if (distance > 0.0f) {
        GameState.ballX = qx + ((x - qx) / distance) * radius;
        GameState.ballZ = qz + ((z - qz) / distance) * radius;
        return;
    }
    // A centre right on the corner has no direction of its own: leave diagonally, away from
    // the middle of the tree's cell.
    float diagonal = radius / std::sqrt(2.0f);
    GameState.ballX = qx + (qx > cellX ? diagonal : -diagonal);
    GameState.ballZ = qz + (qz > cellZ ? diagonal : -diagonal);
}

// Pushes the ball out of the box of wall cell (i, j), if it overlaps it.
void PushOutOfCell(int i, int j, float radius) {
    float cellX = CellSize * static_cast<float>(i);
    float cellZ = CellSize * static_cast<float>(j);
    float x0 = cellX - HalfCell;
    float x1 = cellX + HalfCell;
    float z0 = cellZ - HalfCell;
    float z1 = cellZ + HalfCell;
    float x = GameState.ballX;
    float z = GameState.ballZ;
    if (!(x0 < x + radius && x1 > x - radius && z0 < z + radius && z1 > z - radius)) {
        return;
    }
    bool withinX = x0 < x && x < x1;
    bool withinZ = z0 < z && z < z1;
    if (withinX && withinZ) {
        return;
    }
    if (withinX) {
        GameState.ballZ = cellZ > z ? z0 - radius : z1 + radius;
    } else if (withinZ) {
        GameState.ballX = cellX > x ? x0 - radius : x1 + radius;
    } else {
        PushFromCorner(x > x1 ? x1 : x0, z > z1 ? z1 : z0, cellX, cellZ, radius);
    }
}

} // namespace

float CollisionRadius() {
    return RadiusPerSize * GameState.ballSize + SmallestRadius;
}

void ResolveWallCollisions(float radius) {
    if (!(radius >= SmallestRadius)) {
        radius = SmallestRadius;
    } else if (radius > LargestRadius) {
        radius = LargestRadius;
    }
    int ci = CellIndex(GameState.ballX);
    int cj = CellIndex(GameState.ballZ);
    int reach = static_cast<int>(std::floor(radius / CellSize)) + 1;
    for (int i = ci - reach; i <= ci + reach; ++i) {
        for (int j = cj - reach; j <= cj + reach; ++j) {
            if (IsWall(i, j)) {
                PushOutOfCell(i, j, radius);
            }
        }
    }
}
