// The update step: the pointer turns the camera, the keys drive the ball relative to it, the trees
// (and the edge of the maze) stop it and the camera eases after it; the ball melts, gathers the
// snow within its reach, and each gathered level gives way to the next.
#include "app/Input.h"
#include "game/Collision.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Snow.h"
#include "game/Update.h"
#include "render/Hud.h"
#include "support/Scratch.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr float QuarterTurn = 1.5707964f;

// An open field without snow whose level never counts as gathered, the pointer at the centre.
struct MovementTest : ::testing::Test {
    void SetUp() override {
        ResetGlobalRecords();
        GameState.snowTotal = 1;
        ResetPlayer();
        InputState.mouseX = 320;
        InputState.mouseY = 240;
    }
    void TearDown() override { ResetGlobalRecords(); }
};
using SnowTest = MovementTest;

// The pointer's distance from the centre turns and tilts the camera by the frame's length, held
// to 0.5 to 3 (not a number counts as 0.5); the tilt stays between 5 degrees down and straight
// down, however far off the pointer.
TEST_F(MovementTest, ThePointerTurnsAndTiltsTheCameraByTheFrameLength) {
    InputState.mouseX = 640;
    const float rates[][2] = {{0.2f, 0.008f}, {5.0f, 0.048f}, {NAN, 0.008f}, {1.7f, 0.0272f}};
    for (const auto& rate : rates) {
        const float before = GameState.yawTarget;
        UpdateGame(rate[0]);
        EXPECT_NEAR(GameState.yawTarget - before, rate[1], 1e-6f) << "time scale " << rate[0];
    }
    // The pointer above looks up; never above 5 degrees down, at most straight down.
    const std::pair<int, float> tilts[] = {
        {0, StartPitch + 0.012f}, {INT32_MIN, -0.08726646f}, {INT32_MAX, -QuarterTurn}};
    for (const auto& [y, pitch] : tilts) {
        InputState.mouseY = y;
        UpdateGame(1.0f);
        EXPECT_NEAR(GameState.pitchTarget, pitch, 1e-6f) << "pointer at " << y;
    }
}

// One frame from rest, each key on its own and in pairs drives the ball relative to the camera's
// yaw, a small ball with half the drive, from the frame its press is seen; friction then takes 9 %
// of the speed.
TEST_F(MovementTest, KeysDriveRelativeToTheCamera) {
    const float step = 0.0175f;
    const struct {
        float size, yaw;
        std::initializer_list<int> keys;
        float dx, dz;
    } steps[] = {
        {1.0f, 0, {KeyW}, 2 * step, 0},
        {0, 0, {KeyUp}, step, 0},
        {0, 0, {KeyS}, -step, 0},
        {0, 0, {KeyDown}, -step, 0},
        {0, 0, {KeyD}, 0, step},
        {0, 0, {KeyRight}, 0, step},
        {0, 0, {KeyA}, 0, -step},
        {0, 0, {KeyLeft}, 0, -step},
        {0, 0, {KeyW, KeyS}, 0, 0},
        {0, QuarterTurn, {KeyW, KeyRight}, -step * std::sqrt(0.5f), step * std::sqrt(0.5f)},
    };
    for (const auto& c : steps) {
        ResetPlayer();
        GameState.velocityX = GameState.velocityZ = 0.0f;
        GameState.ballSize = c.size;
        GameState.cameraYaw = GameState.yawTarget = c.yaw;
        std::fill(std::begin(InputState.keys), std::end(InputState.keys), ButtonState::Up);
        for (int key : c.keys) {
            InputState.keys[key] = ButtonState::Pressed;
        }
        UpdateGame(1.0f);
        EXPECT_NEAR(GameState.ballX - StartX, c.dx, 1e-5f) << &c - steps;
        EXPECT_NEAR(GameState.ballZ - StartZ, c.dz, 1e-5f) << &c - steps;
        EXPECT_NEAR(GameState.velocityZ, c.dz * 0.91f, 1e-5f) << &c - steps;
    }
}

// The heading is brought toward the target one turn at a time, rounded to float after each turn;
// headings too far off for that, or too large for a turn to change them, still end within half a
// turn; one that is not a finite number, or a target or fraction that is not, is left as it is.
TEST_F(MovementTest, BlendAngleTakesTheShortWay) {
    // {heading, target, fraction, result}
    const float cases[][4] = {{3.0f, -3.0f, 1.0f, -3.0f},
                              {3.0f, -3.0f, 0.1f, -3.25486660f}, // through pi, not through 0
                              {3.0f, 2.0f, 0.0f, 3.0f},
                              {13.0f, 0.0f, 0.0f, 0.433629751f},
                              {100.0f, 0.0f, 0.0f, -0.530972719f},
                              {-45.0f, 0.0f, 0.0f, -1.01770473f},
                              {1000.0f, 0.0f, 0.0f, 0.972615004f}};
    for (const auto& c : cases) {
        GameState.ballHeading = c[0];
        EXPECT_EQ(BlendAngle(c[1], c[2]), c[3]) << c[0] << " toward " << c[1];
    }
    const float far[][2] = {{1e5f, 0.5f},   {-12345.6f, 0.5f}, {1e9f, 0.5f},
                            {-1e30f, 0.5f}, {3e38f, 0.5f},     {-1e9f, -1e9f + 1e4f}};
    for (const auto& c : far) {
        GameState.ballHeading = c[0];
        EXPECT_LE(std::fabs(BlendAngle(c[1], 0.0f) - c[1]), 3.1416f) << c[0] << " toward " << c[1];
    }
    for (float heading = -9.0f; heading < 9.0f; heading += 0.01f) { // the whole way: the target
        GameState.ballHeading = heading;
        EXPECT_EQ(BlendAngle(heading * -0.3f, 1.0f), heading * -0.3f) << heading;
    }
    GameState.ballHeading = 0.25f;
    EXPECT_EQ(BlendAngle(1e30f, 1.0f), 1e30f);
    for (const auto& [target, fraction] : {std::pair{NAN, 0.5f}, {INFINITY, 0.5f}, {1.0f, NAN}}) {
        EXPECT_EQ(BlendAngle(target, fraction), 0.25f) << target << ", " << fraction;
    }
    GameState.ballHeading = NAN;
    EXPECT_TRUE(std::isnan(BlendAngle(1.0f, 0.5f)));
}

// Driven diagonally along a row of trees, at any frame rate, the ball slides along it, held on
// the face, with no motion into the trees.
TEST_F(MovementTest, WallsStopAndGuideTheBallAtAnyFrameRate) {
    for (int i = 2; i < 23; ++i) {
        LevelMap.walls[i][14] = 1;
    }
    InputState.keys[KeyW] = InputState.keys[KeyD] = ButtonState::Held;
    for (float t = 0.5f; t <= 3.0f; t += 0.25f) {
        ResetPlayer();
        GameState.ballX = 20.0f;
        GameState.velocityX = GameState.velocityZ = 0.0f;
        for (int frame = 0; frame < 200; ++frame) {
            UpdateGame(t);
        }
        EXPECT_FLOAT_EQ(GameState.ballZ, 67.5f - 1.25f) << "time scale " << t;
        EXPECT_GT(GameState.velocityX, 0.1f) << "time scale " << t;
        EXPECT_EQ(GameState.velocityZ, 0.0f) << "time scale " << t;
    }
}

// Faces, corners and the border push the circle out; radii out of range act as the nearest in
// range. (What centres far off or not a number come to is the update fuzzer's.)
TEST(CollisionTest, FacesCornersBorderAndHostileValues) {
    const struct {
        std::vector<int> walls; // cells i * 100 + j
        float x, z, radius, wantX, wantZ;
        const char* what;
    } cases[] = {
        {{1312}, 61, 60, 2, 60.5f, 60, "pushed out of a face"},
        {{1312}, 60.5f, 60, 2, 60.5f, 60, "a touching circle is not moved"},
        {{1312}, 61.5f, 63.5f, 2, 61.0858f, 63.9142f, "pushed out of a corner"},
        {{1312}, 61, 64, 2, 61, 64, "bounding squares overlap, the circle does not"},
        {{1312}, 65, 59, 2, 65, 59, "a centre inside the tree is not pushed by it"},
        {{1312}, 63, 56, 2, 63, 55.5f, "a deep overlap leaves the circle on the centre's side"},
        {{1312}, 62.5f, 57.5f, 2, 61.0858f, 56.0858f, "a centre on the corner leaves diagonally"},
        {{1213, 1312}, 61, 61, 2, 60.5f, 60.5f, "an inner corner"},
        {{}, -2, 60, 1.25f, -1.25f, 60, "beyond the grid is a wall"},
        {{1312}, 61, 60, NAN, 61, 60, "no radius: the smallest ball"},
        {{1312}, 55, 60, 1e30f, 53.75f, 60, "a radius above the range acts as the largest"},
    };
    for (const auto& c : cases) {
        for (int cell : c.walls) {
            LevelMap.walls[cell / 100][cell % 100] = 1;
        }
        GameState.ballX = c.x;
        GameState.ballZ = c.z;
        ResolveWallCollisions(c.radius);
        EXPECT_NEAR(GameState.ballX, c.wantX, 1e-4f) << c.what;
        EXPECT_NEAR(GameState.ballZ, c.wantZ, 1e-4f) << c.what;
        ResetGlobalRecords();
    }
}

// The camera's roll eases a tenth and its position 7.5 % of the way to the goal each frame, as
// (goal - value) * rate * t; grouping the rate with t first gives the float next door in each of
// these. It settles 30 + 50 * size behind the orbit centre 5.75 + 15 * size above the ball, along
// the view (the size is set to 1 before each frame, so that it melts to the same size in each).
// What strange states settle into is left to the update fuzzer.
TEST_F(MovementTest, TheCameraEasesLeftToRightAndSettlesBehindTheBall) {
    // {camera z (else roll), start, t, result}
    const std::tuple<bool, float, float, float> cases[] = {{false, 0.0f, 1.02f, 0.0714000016f},
                                                           {true, 0.0f, 0.96f, 4.31999969f},
                                                           {true, 10.0f, 1.02f, 13.8250008f}};
    for (const auto& [camera, start, t, eased] : cases) {
        ResetPlayer();
        GameState.rollTarget = 0.7f;
        GameState.cameraRoll = start;
        GameState.cameraZ = start; // the goal lies at the ball's z, 60, with the yaw at 0
        UpdateGame(t);
        EXPECT_EQ(camera ? GameState.cameraZ : GameState.cameraRoll, eased) << start << ", " << t;
    }
    for (int frame = 0; frame < 600; ++frame) {
        GameState.ballSize = 1.0f;
        UpdateGame(1.0f);
    }
    const float size = GameState.ballSize, pitch = GameState.cameraPitch;
    const float behind = 30.0f + 50.0f * size;
    EXPECT_NEAR(GameState.cameraX, StartX - std::cos(pitch) * behind, 1e-3f);
    EXPECT_NEAR(GameState.cameraY, 5.75f + 15.0f * size - std::sin(pitch) * behind, 1e-3f);
    EXPECT_NEAR(GameState.cameraZ, StartZ, 1e-3f);
}

// The ball melts by 0.00065 of its size and 0.00005 each frame, held at 0, then gathers the piles
// within its reach, the collision radius plus 1.25 in that order, and grows by 0.002 for each, held
// at 1; a pile at exactly the reach stays.
TEST_F(SnowTest, TheBallMeltsThenGathersThePilesWithinItsReach) {
    // {ball x, z, size, frame length (0: the scan alone), pile a, b, size after}; the pile is gone
    // exactly when the ball grew.
    const struct {
        float x, z, size, t;
        int a, b;
        float after;
    } cases[] = {
        {60.0f, 60.0f, 0.9995f, 1.0f, 24, 24, 1.0f}, // held at 1
        {60.0f, 60.0f, 0.5f, 1.0f, 0, 0, 0.499625f},
        {60.0f, 60.0f, 0.0f, 1.0f, 24, 24, 0.002f - 0.00005f},
        {2.0f, 1.0f, 1.0f / 3.0f, 0.0f, 2, 2, 1.0f / 3.0f}, // 3 and 4 away, at a reach of 5
        // A frame of t = 1.5 melts a ball of size 0 to -0.000075, which reaches
        // (7.5 * -0.000075 + 1.25) + 1.25 = 2.49943733.
        {2.5f - 2.49943733f, 0.0f, 0.0f, 1.5f, 1, 0, 0.0f},
    };
    for (const auto& c : cases) {
        std::memset(LevelMap.snow, 0, sizeof LevelMap.snow);
        LevelMap.snow[c.a][c.b] = 1;
        GameState.snowTotal = 3;
        GameState.ballX = c.x;
        GameState.ballZ = c.z;
        GameState.ballSize = c.size;
        c.t > 0.0f ? UpdateGame(c.t) : GatherSnow();
        EXPECT_EQ(LevelMap.snow[c.a][c.b], c.after > c.size ? 0 : 1) << &c - cases;
        EXPECT_FLOAT_EQ(GameState.ballSize, c.after) << &c - cases;
    }
}

// The collision radius plus 1.25, in that order.
float ReferenceReach(float size) {
    return (7.5f * size + 1.25f) + 1.25f;
}

// Every point tested in storage order, the reach growing with each pile: what the skipping scan
// must match. Gathers from `grids` around the ball, growing `size`.
void GatherEverywhere(LevelGrids& grids, float& size) {
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            float dx = SnowSpacing * static_cast<float>(a) - GameState.ballX;
            float dz = SnowSpacing * static_cast<float>(b) - GameState.ballZ;
            if (grids.snow[a][b] != 0 && std::sqrt(dx * dx + dz * dz) < ReferenceReach(size)) {
                grids.snow[a][b] = 0;
                size += 0.002f;
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
    for (int round = 0; round < 3000; ++round) {
        std::generate_n(&LevelMap.snow[0][0], SnowPoints * SnowPoints,
                        [&] { return pile(random); });
        // Some small balls sit exactly at the reach from the first pile they can gather, where the
        // last bit of the reach decides.
        bool atReach = round % 4 == 0;
        GameState.ballSize = atReach ? smallSize(random) : size(random);
        GameState.ballX = atReach ? ReferenceReach(GameState.ballSize) : place(random);
        GameState.ballZ = atReach ? 2.5f * static_cast<float>(round % 50) : place(random);
        LevelMap.snow[0][round % 50] = atReach ? 1 : LevelMap.snow[0][round % 50];
        LevelGrids expected = LevelMap;
        float expectedSize = GameState.ballSize;
        GatherEverywhere(expected, expectedSize);
        GatherSnow();
        ASSERT_EQ(std::memcmp(LevelMap.snow, expected.snow, sizeof expected.snow), 0) << round;
        ASSERT_EQ(GameState.ballSize, expectedSize) << round;
    }
    EXPECT_GT(GameState.snowCollected, 3000 * 10) << "the states tried gather plenty";
}

// A new game and each gathered level read the level's file (a missing one, or a folder in its
// place, reads as an open level); a level without snow is shown for a frame, reading none
// gathered, and skipped in the next; the tenth level, and any out of range, gives way to the
// first, none of it gathered. The ball starts small at the centre, and coasts on as it would have,
// still facing its way, turned by its travel alone; the camera looks ahead and down as at the
// start.
TEST_F(SnowTest, LevelsAdvanceAndWrapAround) {
    ScratchFolder folder;
    std::ostringstream allTrees;
    std::fill_n(std::ostream_iterator<std::string>(allTrees, "\n"), 25, std::string(25, '1'));
    folder.Write("Media/level3.txt", allTrees.str());
    std::filesystem::create_directory(folder.path + "/Media/level4.txt");
    GameState.level = 2;
    NewGame();
    std::memset(LevelMap.snow, 0, sizeof LevelMap.snow);
    LevelMap.snow[12][24] = 1;
    GameState.snowCollected = 2490;
    GameState.ballSize = 0.7f;
    GameState.ballX = 30.0f;
    GameState.velocityX = 0.1f;
    GameState.ballHeading = 1.0f;
    GameState.cameraYaw = GameState.yawTarget = GameState.pitchTarget = -1.0f;
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 3);
    EXPECT_EQ(GameState.snowTotal, 0) << "level 3 is all trees";
    char line[HudTextSize];
    FormatSnowText(line, sizeof line, GameState.snowCollected, GameState.snowTotal);
    EXPECT_STREQ(line, "  snow collected: 0.000000%") << "shown for a frame, it reads 0, not nan";
    EXPECT_EQ(GameState.ballSize, 0.0f);
    EXPECT_TRUE(GameState.ballX == StartX && GameState.cameraYaw == 0 && GameState.yawTarget == 0 &&
                GameState.pitchTarget == StartPitch);
    EXPECT_NEAR(GameState.velocityX, 0.1f * 0.91f, 1e-5f);
    EXPECT_NEAR(GameState.ballHeading, 1.0f - 0.25f * 0.1f, 1e-5f) << "turned by its travel alone";
    EXPECT_TRUE(GameState.cameraX < StartX && GameState.cameraX > StartX - 3.0f)
        << "the camera flies out from the ball";
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.level, 4) << "a level without snow is skipped in the next frame";
    EXPECT_EQ(GameState.snowTotal, 2491);
    for (int level : {10, 0, -7, 11, INT32_MAX}) {
        GameState.level = level;
        GameState.snowCollected = GameState.snowTotal;
        UpdateGame(1.0f);
        EXPECT_EQ(std::pair(GameState.level, GameState.snowCollected), std::pair(1, 0)) << level;
    }
}

} // namespace
