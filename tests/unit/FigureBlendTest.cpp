// The figure drawn between its small and its large form by the size of the ball.
#include "MeshSnapshot.h"
#include "assets/Meshes.h"
#include "game/GameState.h"
#include "render/World.h"
#include "support/Scratch.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Fills both forms with distinct values; the snapshot puts the authored ones back afterwards.
struct FigureBlendTest : ::testing::Test {
    void SetUp() override {
        for (int k = 0; k < FigureFloats; ++k) {
            FigureSmall.positions[k] = 0.1f * static_cast<float>(k % 97) - 3.0f;
            FigureLarge.positions[k] = 2.5f * static_cast<float>(k % 89) + 1.0f;
        }
    }
    void TearDown() override { ResetGlobalRecords(); }
    MeshSnapshot authored;
};

// The ends of the size range give the two forms exactly, and every frame refills the one buffer
// from the size of that frame: nothing is allocated, and a smaller figure after a larger one
// shows no trace of it.
TEST_F(FigureBlendTest, EachCallRefillsTheSameBufferFromTheCurrentSize) {
    GameState.ballSize = 0.0f;
    const float* first = BuildFigureMesh();
    EXPECT_TRUE(std::equal(first, first + FigureFloats, FigureSmall.positions));
    GameState.ballSize = 1.0f;
    const float* second = BuildFigureMesh();
    EXPECT_EQ(first, second);
    EXPECT_TRUE(std::equal(second, second + FigureFloats, FigureLarge.positions));
    GameState.ballSize = 0.5f;
    const float* third = BuildFigureMesh();
    EXPECT_EQ(first, third);
    int off = 0;
    for (int k = 0; k < FigureFloats; ++k) {
        off += third[k] != 0.5f * FigureSmall.positions[k] + 0.5f * FigureLarge.positions[k];
    }
    EXPECT_EQ(off, 0);
}

} // namespace
