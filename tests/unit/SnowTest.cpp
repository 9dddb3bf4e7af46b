// The ball's snow: melting, gathering within reach, and the levels that follow.
#include "game/Snow.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Update.h"
#include "support/Scratch.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

struct SnowTest : ::testing::Test {
    void SetUp() override {
        ResetGlobalRecords();
        ResetPlayer();
    }
    void TearDown() override { ResetGlobalRecords(); }
};

void PlacePile(int a, int b) {
    LevelMap.snow[a][b] = 1;
    ++GameState.snowTotal;
}

TEST_F(SnowTest, TheBallMeltsEveryFrameAndGrowsByEachPile) {
    GameState.snowTotal = 1; // a level never gathered
    for (const auto& [size, after] : {std::pair{1.0f, 0.9993f}, {0.5f, 0.499625f}, {0.0f, 0.0f}}) {
        GameState.ballSize = size;
        UpdateGame(1.0f);
        EXPECT_FLOAT_EQ(GameState.ballSize, after) << "melted from " << size << ", held at 0";
    }
    PlacePile(24, 24);
    PlacePile(0, 0);
    UpdateGame(1.0f);
    EXPECT_FLOAT_EQ(GameState.ballSize, 0.002f - 0.00005f) << "grown by the pile beside it";
    EXPECT_EQ(GameState.snowCollected, 1);
    EXPECT_EQ(LevelMap.snow[24][24], 0);
    PlacePile(25, 24);
    GameState.ballSize = 1.0f;
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.ballSize, 1.0f) << "a full-grown ball stays full-grown";
}

TEST_F(SnowTest, TheReachIsStrictAndGrowsWithinOneScan) {
    // The reach is the collision radius plus 1.25, after the frame's melting.
    const struct {
        float x, size;
        bool taken;
        bool wholeFrame;
    } cases[] = {{60.0f, 0.0f, false, false},
                 {60.001f, 0.0f, true, false},
                 {62.5f - 9.9946f, 1.0f, true, true},
                 {62.5f - 9.9949f, 1.0f, false, true}};
    for (const auto& c : cases) {
        LevelMap.snow[25][24] = 1;
        GameState.snowTotal = 3;
        GameState.ballX = c.x;
        GameState.ballSize = c.size;
        c.wholeFrame ? UpdateGame(1.0f) : GatherSnow();
        EXPECT_EQ(LevelMap.snow[25][24], c.taken ? 0 : 1) << "ball at " << c.x;
    }
    // A frame of t = 1.5 melts a ball of size 0 to -0.000075, which reaches
    // (7.5 * -0.000075 + 1.25) + 1.25 = 2.49943733: a pile at exactly that distance stays.
    std::memset(LevelMap.snow, 0, sizeof LevelMap.snow);
    LevelMap.snow[1][0] = 1;
    GameState.ballX = 2.5f - 2.49943733f;
    GameState.ballZ = 0.0f;
    GameState.ballSize = 0.0f;
    GameState.snowTotal = 100;
    UpdateGame(1.5f);
    EXPECT_EQ(LevelMap.snow[1][0], 1);

    // The second pile lies just beyond the reach, and comes within it once the first is taken.
    std::memset(LevelMap.snow, 0, sizeof LevelMap.snow);
    LevelMap.snow[24][25] = 1;
    GameState.ballX = 60.0f - std::sqrt(2.5f * 2.5f - 1.25f * 1.25f);
    GameState.ballZ = 61.247f;
    GameState.ballSize = 0.0f;
    GatherSnow();
    EXPECT_EQ(LevelMap.snow[24][25], 1);
    LevelMap.snow[24][24] = 1;
    GatherSnow();
    EXPECT_EQ(LevelMap.snow[24][24] + LevelMap.snow[24][25], 0);
    EXPECT_FLOAT_EQ(GameState.ballSize, 0.004f);
}

// The collision radius plus 1.25, in that order.
float ReferenceReach(float size) {
    return (7.5f * size + 1.25f) + 1.25f;
}

// Every point tested in storage order: what the skipping scan must match.
void GatherEverywhere() {
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            float dx = SnowSpacing * static_cast<float>(a) - GameState.ballX;
            float dz = SnowSpacing * static_cast<float>(b) - GameState.ballZ;
            float reach = ReferenceReach(GameState.ballSize);
            if (LevelMap.snow[a][b] != 0 && std::sqrt(dx * dx + dz * dz) < reach) {
                LevelMap.snow[a][b] = 0;
                GameState.ballSize += 0.002f;
                ++GameState.snowCollected;
            }
        }
    }
}

TEST_F(SnowTest, TheSkippingScanGathersWhatTheFullScanGathers) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> place(-2.5f, 122.5f);
    std::uniform_real_distribution<float> size(-0.0002f, 1.0f);
    std::uniform_real_distribution<float> smallSize(-0.0002f, 0.1f);
    std::bernoulli_distribution pile(0.8);
    int gathered = 0;
    for (int round = 0; round < 3000; ++round) {
        for (auto& column : LevelMap.snow) {
            for (auto& point : column) {
                point = pile(random) ? 1 : 0;
            }
        }
        // Some small balls sit exactly at the reach from the first pile they can gather, where the
        // last bit of the reach decides.
        bool atReach = round % 4 == 0;
        GameState.ballSize = atReach ? smallSize(random) : size(random);
        GameState.ballX = atReach ? ReferenceReach(GameState.ballSize) : place(random);
        GameState.ballZ = atReach ? 2.5f * static_cast<float>(round % 50) : place(random);
        LevelMap.snow[0][round % 50] = atReach ? 1 : LevelMap.snow[0][round % 50];
        GameState.snowCollected = 0;
        const LevelGrids before = LevelMap;
        const GameStateRecord state = GameState;
        GatherEverywhere();
        const LevelGrids expected = LevelMap;
        const GameStateRecord expectedState = GameState;
        LevelMap = before;
        GameState = state;
        GatherSnow();
        ASSERT_EQ(std::memcmp(LevelMap.snow, expected.snow, sizeof expected.snow), 0) << round;
        ASSERT_EQ(GameState.ballSize, expectedState.ballSize) << round;
        ASSERT_EQ(GameState.snowCollected, expectedState.snowCollected) << round;
        gathered += GameState.snowCollected;
    }
    EXPECT_GT(gathered, 3000 * 10) << "the states tried gather plenty";
}

TEST_F(SnowTest, LevelsAdvanceAndWrapAround) {
    ScratchFolder folder;
    std::string allTrees;
    for (int r = 0; r < 25; ++r) {
        allTrees += std::string(25, '1') + "\n";
    }
    folder.Write("Media/level3.txt", allTrees);
    // Level 2 has no file: snow everywhere but the start. Its last pile advances at once.
    GameState.level = 2;
    NewGame();
    EXPECT_EQ(GameState.snowTotal, 2491);
    std::memset(LevelMap.snow, 0, sizeof LevelMap.snow);
    LevelMap.snow[25][24] = 1;
    GameState.snowCollected = 2490;
    GameState.ballSize = 0.7f;
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 3);
    EXPECT_EQ(GameState.snowTotal, 0) << "level 3 is all trees";
    EXPECT_EQ(GameState.ballSize, 0.0f);
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 4) << "a level without snow is skipped in the next frame";
    EXPECT_EQ(GameState.snowTotal, 2491);
    EXPECT_EQ(GameState.snowCollected, 0);

    // The ball coasts on as it would have; the jump to the start is no motion.
    GameState.level = 10;
    GameState.snowCollected = GameState.snowTotal;
    GameState.ballX = 30.0f;
    GameState.velocityX = 0.1f;
    GameState.velocityZ = -0.2f;
    GameState.ballHeading = std::atan2(-0.2f, 0.1f);
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(GameState.ballX, StartX);
    EXPECT_NEAR(GameState.velocityX, 0.1f * 0.91f, 1e-5f);
    EXPECT_NEAR(GameState.velocityZ, -0.2f * 0.91f, 1e-5f);
    EXPECT_NEAR(GameState.ballHeading, std::atan2(-0.2f, 0.1f), 1e-5f);
    EXPECT_TRUE(GameState.cameraX < StartX && GameState.cameraX > StartX - 3.0f)
        << "the camera flies out from the ball";
    for (int level : {0, -7, 11, 2147483647}) {
        GameState.level = level;
        GameState.snowTotal = level == 2147483647 ? level : GameState.snowTotal;
        GameState.snowCollected = GameState.snowTotal + (level == 11 ? 5 : 0);
        UpdateGame(1.0f);
        EXPECT_EQ(GameState.level, 1) << "after level " << level;
    }
}

} // namespace
