#include "game/Collision.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "support/Scratch.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct CollisionTest : ::testing::Test {
    void SetUp() override { ResetGlobalRecords(); }
    void TearDown() override { ResetGlobalRecords(); }
};

// Places the ball, resolves and returns where it ended.
void Resolve(float x, float z, float radius) {
    GameState.ballX = x;
    GameState.ballZ = z;
    ResolveWallCollisions(radius);
}

float DistanceFrom(float x, float z) {
    return std::hypot(GameState.ballX - x, GameState.ballZ - z);
}

TEST_F(CollisionTest, FacesCornersAndTouchingCircles) {
    Resolve(61.0f, 60.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 61.0f) << "no wall near: nothing moves";
    EXPECT_FLOAT_EQ(GameState.ballZ, 60.0f);

    LevelMap.walls[13][12] = 1;
    Resolve(61.0f, 60.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 60.5f);
    EXPECT_FLOAT_EQ(GameState.ballZ, 60.0f);

    Resolve(60.5f, 60.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 60.5f) << "a touching circle is not moved";

    Resolve(61.5f, 63.5f, 2.0f);
    EXPECT_NEAR(GameState.ballX, 61.0858f, 1e-4f);
    EXPECT_NEAR(GameState.ballZ, 63.9142f, 1e-4f);
    EXPECT_NEAR(DistanceFrom(62.5f, 62.5f), 2.0f, 1e-5f);

    Resolve(61.0f, 64.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 61.0f) << "bounding squares overlap, the circle does not";
    EXPECT_FLOAT_EQ(GameState.ballZ, 64.0f);

    Resolve(65.0f, 59.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 65.0f) << "a centre inside the tree is not pushed by it";
    EXPECT_FLOAT_EQ(GameState.ballZ, 59.0f);

    // However deep the overlap, a face push leaves the circle on the face, on the centre's side.
    Resolve(63.0f, 50.0f + 6.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballZ, 55.5f);
    Resolve(64.0f, 63.5f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballZ, 64.5f);
}

TEST_F(CollisionTest, InnerCornerAndWindowSize) {
    LevelMap.walls[12][13] = 1;
    LevelMap.walls[13][12] = 1;
    Resolve(61.0f, 61.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 60.5f);
    EXPECT_FLOAT_EQ(GameState.ballZ, 60.5f);

    // A big ball reaches a tree two cells from its own cell.
    ResetGlobalRecords();
    LevelMap.walls[14][12] = 1;
    Resolve(62.4f, 60.0f, 6.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 61.5f);
    Resolve(60.0f, 60.0f, 8.75f);
    EXPECT_FLOAT_EQ(GameState.ballX, 58.75f);
}

TEST_F(CollisionTest, BorderCentreOnCornerAndHostileValues) {
    // With no walls at all, the space beyond the grid still stops the ball.
    Resolve(-2.0f, 60.0f, 1.25f);
    EXPECT_FLOAT_EQ(GameState.ballX, -1.25f);
    Resolve(121.0f, 119.0f, 2.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 120.5f);
    EXPECT_FLOAT_EQ(GameState.ballZ, 119.0f);
    Resolve(60.0f, -2.0f, 3.0f);
    EXPECT_FLOAT_EQ(GameState.ballZ, 0.5f);

    // A centre exactly on a tree's corner leaves diagonally, away from the tree.
    LevelMap.walls[13][12] = 1;
    Resolve(62.5f, 57.5f, 2.0f);
    EXPECT_NEAR(GameState.ballX, 62.5f - std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(GameState.ballZ, 57.5f - std::sqrt(2.0f), 1e-5f);

    // Radii beyond the game's range act as the nearest the game uses.
    Resolve(61.0f, 60.0f, 0.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, 61.0f);
    Resolve(61.0f, 60.0f, NAN);
    EXPECT_FLOAT_EQ(GameState.ballX, 61.0f) << "no radius: the smallest ball";
    Resolve(55.0f, 60.0f, 1e30f);
    EXPECT_FLOAT_EQ(GameState.ballX, 62.5f - 8.75f);

    for (float far : {1e30f, -1e30f, INFINITY, -INFINITY}) {
        Resolve(far, far, 3.0f);
        EXPECT_EQ(GameState.ballX, far) << "far from every cell: nothing to push from";
    }
    Resolve(NAN, 60.0f, 3.0f);
    EXPECT_TRUE(std::isnan(GameState.ballX));
}

} // namespace
