#include "app/FrameClock.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

struct FrameClockTest : ::testing::Test {
    void SetUp() override { ResetGlobalRecords(); }
    void TearDown() override { ResetGlobalRecords(); }
};

// Measures one frame that starts `millis` after one at `start`, and returns its time factor.
float ScaleAfter(std::uint32_t start, std::uint32_t millis) {
    GameState.lastTicks = start;
    MeasureFrame(start + millis);
    return FrameTimeScale();
}

TEST_F(FrameClockTest, CommonAndOddFrameLengths) {
    EXPECT_FLOAT_EQ(ScaleAfter(1000, 16), 0.96f);
    EXPECT_EQ(GameState.framesPerSecond, 62.5f);
    EXPECT_FLOAT_EQ(ScaleAfter(1000, 17), 1.02f);
    EXPECT_FLOAT_EQ(ScaleAfter(1000, 33), 1.98f);
    EXPECT_EQ(GameState.lastTicks, 1033u);
    EXPECT_GE(ScaleAfter(1000, 50), 3.0f);
    // Two frames in one millisecond: an infinite rate and a zero factor.
    EXPECT_EQ(ScaleAfter(5000, 0), 0.0f);
    EXPECT_TRUE(std::isinf(GameState.framesPerSecond));
    // A counter that wraps between two frames still gives the true length.
    EXPECT_FLOAT_EQ(ScaleAfter(0xFFFFFFF8u, 16), 0.96f);
    EXPECT_EQ(GameState.frameMillis, 16);
    EXPECT_EQ(GameState.lastTicks, 8u);
    // The first frame measures from 0: a long uptime gives a huge factor, one of 2^31 ms or more
    // a negative one; the update step bounds both.
    EXPECT_GT(ScaleAfter(0, 100000), 3.0f);
    EXPECT_LT(ScaleAfter(0, 0x80000000u), 0.0f);
    EXPECT_LT(GameState.frameMillis, 0);
}

} // namespace
