// The figure drawn between its small and its large form by the size of the ball.
#include "assets/Meshes.h"
#include "game/GameState.h"
#include "render/World.h"
#include "support/Scratch.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Fills both forms with distinct values and puts the authored ones back afterwards.
struct FigureBlendTest : ::testing::Test {
    void SetUp() override {
        small.assign(FigureSmall.positions, FigureSmall.positions + FigureFloats);
        large.assign(FigureLarge.positions, FigureLarge.positions + FigureFloats);
        for (int k = 0; k < FigureFloats; ++k) {
            FigureSmall.positions[k] = 0.1f * static_cast<float>(k % 97) - 3.0f;
            FigureLarge.positions[k] = 2.5f * static_cast<float>(k % 89) + 1.0f;
        }
    }
    void TearDown() override {
        std::copy(small.begin(), small.end(), FigureSmall.positions);
        std::copy(large.begin(), large.end(), FigureLarge.positions);
        ResetGlobalRecords();
    }
    std::vector<float> small;
    std::vector<float> large;
};

TEST_F(FigureBlendTest, TheEndsOfTheSizeRangeGiveTheTwoFormsExactly) {
    GameState.ballSize = 0.0f;
    const float* blended = BuildFigureMesh();
    EXPECT_TRUE(std::equal(blended, blended + FigureFloats, FigureSmall.positions));
    GameState.ballSize = 1.0f;
    blended = BuildFigureMesh();
    EXPECT_TRUE(std::equal(blended, blended + FigureFloats, FigureLarge.positions));
}

TEST_F(FigureBlendTest, HalfSizeLiesHalfwayForEveryVertex) {
    GameState.ballSize = 0.5f;
    const float* blended = BuildFigureMesh();
    int off = 0;
    for (int k = 0; k < FigureFloats; ++k) {
        off += blended[k] != 0.5f * FigureSmall.positions[k] + 0.5f * FigureLarge.positions[k];
    }
    EXPECT_EQ(off, 0);
}

// Every frame refills the one buffer from the size of that frame: nothing is allocated, and a
// smaller figure after a larger one shows no trace of it.
TEST_F(FigureBlendTest, EachCallRefillsTheSameBufferFromTheCurrentSize) {
    GameState.ballSize = 1.0f;
    const float* first = BuildFigureMesh();
    GameState.ballSize = 0.25f;
    const float* second = BuildFigureMesh();
    EXPECT_EQ(first, second);
    EXPECT_FLOAT_EQ(second[5], 0.75f * FigureSmall.positions[5] + 0.25f * FigureLarge.positions[5]);
}

} // namespace
