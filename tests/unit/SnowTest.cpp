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

// One frame with no snow left to gather on a level that is not yet done.
float MeltOnce(float size) {
    GameState.snowTotal = 1;
    GameState.ballSize = size;
    UpdateGame(1.0f);
    return GameState.ballSize;
}

void PlacePile(int a, int b) {
    LevelMap.snow[a][b] = 1;
    ++GameState.snowTotal;
}

TEST_F(SnowTest, MeltingAndGrowth) {
    EXPECT_FLOAT_EQ(MeltOnce(1.0f), 0.9993f);
    EXPECT_FLOAT_EQ(MeltOnce(0.5f), 0.499625f);
    EXPECT_EQ(MeltOnce(0.0f), 0.0f) << "melted below 0 and held there";

    PlacePile(24, 24);
    PlacePile(0, 0);
    GameState.ballSize = 0.0f;
    UpdateGame(1.0f);
    EXPECT_FLOAT_EQ(GameState.ballSize, 0.002f - 0.00005f);
    EXPECT_EQ(GameState.snowCollected, 1);
    EXPECT_EQ(LevelMap.snow[24][24], 0);

    PlacePile(25, 24);
    GameState.ballSize = 1.0f;
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.ballSize, 1.0f) << "a full-grown ball stays full-grown";
}

TEST_F(SnowTest, ReachIsStrictAndGrowsWithinOneScan) {
    PlacePile(25, 24); // 2.5 from the start
    GameState.ballSize = 0.0f;
    GatherSnow();
    EXPECT_EQ(LevelMap.snow[25][24], 1) << "a pile right at the reach stays";
    GameState.ballX = 60.001f;
    GatherSnow();
    EXPECT_EQ(LevelMap.snow[25][24], 0);

    // A ball of size 1 reaches 9.99475 after the frame's melting.
    GameState.ballX = 62.5f - 9.9946f;
    GameState.ballSize = 1.0f;
    GameState.snowTotal = 3;
    LevelMap.snow[25][24] = 1;
    UpdateGame(1.0f);
    EXPECT_EQ(LevelMap.snow[25][24], 0);
    GameState.ballX = 62.5f - 9.9949f;
    GameState.ballSize = 1.0f;
    LevelMap.snow[25][24] = 1;
    UpdateGame(1.0f);
    EXPECT_EQ(LevelMap.snow[25][24], 1);
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
    const float side = std::sqrt(2.5f * 2.5f - 1.25f * 1.25f);
    LevelMap.snow[24][25] = 1;
    GameState.ballX = 60.0f - side;
    GameState.ballZ = 61.247f;
    GameState.ballSize = 0.0f;
    GatherSnow();
    EXPECT_EQ(LevelMap.snow[24][25], 1);
    LevelMap.snow[24][24] = 1;
    GatherSnow();
    EXPECT_EQ(LevelMap.snow[24][24], 0);
    EXPECT_EQ(LevelMap.snow[24][25], 0);
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

TEST_F(SnowTest, SkippingScanGathersWhatTheFullScanGathers) {
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
        LevelGrids expected = LevelMap;
        GameStateRecord expectedState = GameState;
        std::swap(LevelMap, expected);
        std::swap(GameState, expectedState);
        GatherEverywhere();
        std::swap(LevelMap, expected);
        std::swap(GameState, expectedState);
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
    GameState.velocityX = 0.1f;
    GameState.velocityZ = -0.2f;
    GameState.ballHeading = 2.0f;
    GameState.ballSize = 0.7f;
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 3);
    EXPECT_EQ(GameState.snowTotal, 0) << "level 3 is all trees";
    EXPECT_EQ(GameState.ballSize, 0.0f);
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 4) << "a level without snow is skipped in the next frame";
    EXPECT_EQ(GameState.snowTotal, 2491);
    EXPECT_EQ(GameState.snowCollected, 0);

    GameState.level = 10;
    GameState.snowCollected = GameState.snowTotal;
    GameState.ballX = 30.0f;
    GameState.velocityX = 0.1f;
    GameState.velocityZ = -0.2f;
    GameState.ballHeading = std::atan2(-0.2f, 0.1f);
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(GameState.ballX, StartX);
    // The ball coasts on as it would have; the jump to the start is no motion.
    EXPECT_NEAR(GameState.velocityX, 0.1f * 0.91f, 1e-5f);
    EXPECT_NEAR(GameState.velocityZ, -0.2f * 0.91f, 1e-5f);
    EXPECT_NEAR(GameState.ballHeading, std::atan2(-0.2f, 0.1f), 1e-5f);
    EXPECT_LT(GameState.cameraX, StartX) << "the camera flies out from the ball";
    EXPECT_GT(GameState.cameraX, StartX - 3.0f);

    for (int level : {0, -7, 11, 2147483647}) {
        GameState.level = level;
        GameState.snowCollected = GameState.snowTotal + (level == 11 ? 5 : 0);
        if (level == 2147483647) {
            GameState.snowTotal = level;
            GameState.snowCollected = level;
        }
        UpdateGame(1.0f);
        EXPECT_EQ(GameState.level, 1) << "after level " << level;
    }
}

} // namespace
