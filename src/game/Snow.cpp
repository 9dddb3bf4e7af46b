#include "game/Snow.h"

#include "game/Collision.h"
#include "game/GameState.h"
#include "game/Level.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float MeltPerSize = 0.00065f;
constexpr float MeltConstant = 0.00005f;
constexpr float GrowthPerPile = 0.002f;
constexpr float ReachBeyondRadius = 1.25f;
constexpr int LevelCount = 10;

// The collision radius plus 1.25, added in that order: folding the two 1.25s into one constant
// changes the last bit of the reach for some sizes.
float Reach() {
    return CollisionRadius() + ReachBeyondRadius;
}

// The first snow index whose point may lie within `reach` of `centre`. One point to spare keeps
// the rounding of the division on the safe side; points before it lie at least `reach` away.
int FirstWithin(float centre, float reach) {
    float first = std::floor((centre - reach) / SnowSpacing) - 1.0f;
    if (!(first > 0.0f)) {
        return 0;
    }
    return first < static_cast<float>(SnowPoints) ? static_cast<int>(first) : SnowPoints;
}

// Gathers the piles of column `a` within reach; `dx` is the column's distance along x.
void GatherColumn(int a, float dx) {
    const float z = GameState.ballZ;
    std::uint8_t* column = LevelMap.snow[a];
    for (int b = FirstWithin(z, Reach()); b < SnowPoints; ++b) {
        float dz = SnowSpacing * static_cast<float>(b) - z;
        // No later point of the column is nearer, and the reach only grows by gathering.
        if (dz >= Reach()) {
            return;
        }
        if (column[b] == 0) {
            continue;
        }
        if (std::sqrt(dx * dx + dz * dz) < Reach()) {
            column[b] = 0;
            GameState.ballSize += GrowthPerPile;
            ++GameState.snowCollected;
        }
    }
}

} // namespace

void MeltBall(float timeScale) {
    GameState.ballSize -= timeScale * (MeltPerSize * GameState.ballSize + MeltConstant);
}

// The scan visits the points in storage order but skips those that cannot lie within reach: a
// point whose distance along one axis is already the reach is never gathered, and since the
// distance is computed from the same differences, skipping gives the same piles as testing them.
void GatherSnow() {
    const float x = GameState.ballX;
    for (int a = FirstWithin(x, Reach()); a < SnowPoints; ++a) {
        float dx = SnowSpacing * static_cast<float>(a) - x;
        if (dx >= Reach()) {
            return;
        }
        if (-dx < Reach()) {
            GatherColumn(a, dx);
        }
    }
}

void ClampBallSize() {
    if (!(GameState.ballSize >= 0.0f)) {
        GameState.ballSize = 0.0f;
    } else if (GameState.ballSize > 1.0f) {
        GameState.ballSize = 1.0f;
    }
}

void AdvanceLevelWhenGathered() {
    if (GameState.snowCollected < GameState.snowTotal) {
        return;
    }
    bool last = GameState.level < 1 || GameState.level >= LevelCount;
    GameState.level = last ? 1 : GameState.level + 1;
    GameState.ballSize = 0.0f;
    GameState.snowTotal = 0;
    GameState.snowCollected = 0;
    LoadLevel();
    ResetPlayer();
}
