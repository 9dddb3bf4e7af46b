// The update step: the pointer turns the camera, the keys drive the ball relative to it, the trees
// stop it, and the camera eases after it.
#include "app/Input.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Update.h"
#include "support/Scratch.h"

#include <SDL_keysym.h>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {

constexpr float QuarterTurn = 1.5707964f;

// An open field without snow whose level never counts as gathered.
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

void Hold(std::initializer_list<int> keys) {
    for (auto& key : InputState.keys) {
        key = ButtonState::Up;
    }
    for (int key : keys) {
        InputState.keys[key] = ButtonState::Held;
    }
}

TEST_F(MovementTest, ThePointerTurnsAndTiltsTheCameraByTheFrameLength) {
    InputState.mouseX = 640;
    // Time factors are held to 0.5 to 3; one not a number counts as the least.
    const float rates[][2] = {{0.2f, 0.008f}, {5.0f, 0.048f},  {0.0f, 0.008f}, {-3.0f, 0.008f},
                              {NAN, 0.008f},  {1.7f, 0.0272f}, {1.0f, 0.016f}};
    for (const auto& rate : rates) {
        const float before = GameState.yawTarget;
        UpdateGame(rate[0]);
        EXPECT_NEAR(GameState.yawTarget - before, rate[1], 1e-6f) << "time scale " << rate[0];
    }
    InputState.mouseX = 320;
    const float yaw = GameState.yawTarget;
    const float pitch = GameState.pitchTarget;
    UpdateGame(1.0f);
    EXPECT_EQ(GameState.yawTarget, yaw) << "a pointer at the centre turns nothing";
    EXPECT_EQ(GameState.pitchTarget, pitch);
    InputState.mouseY = 0;
    UpdateGame(1.0f);
    EXPECT_NEAR(GameState.pitchTarget - pitch, 0.012f, 1e-6f) << "the pointer above looks up";
    for (int frame = 0; frame < 100; ++frame) {
        UpdateGame(1.0f);
    }
    EXPECT_FLOAT_EQ(GameState.pitchTarget, -0.08726646f) << "never above 5 degrees down";
    InputState.mouseY = 479;
    for (int frame = 0; frame < 2000; ++frame) {
        UpdateGame(3.0f);
        ASSERT_GE(GameState.cameraPitch, -QuarterTurn);
    }
    EXPECT_NEAR(GameState.cameraPitch, -QuarterTurn, 1e-5f) << "at most straight down";
    // The camera's angles ease a tenth of the way to their targets each frame.
    const float yawBefore = GameState.cameraYaw;
    GameState.yawTarget = yawBefore + 1.0f;
    InputState.mouseY = 240;
    UpdateGame(1.0f);
    EXPECT_NEAR(GameState.cameraYaw - yawBefore, 0.1f, 1e-5f);
}

TEST_F(MovementTest, KeysDriveRelativeToTheCamera) {
    // One frame from rest: forward is +x and right is +z at yaw 0; a small ball has half the drive.
    const struct {
        float size;
        std::initializer_list<int> keys;
        float dx, dz;
    } steps[] = {
        {1.0f, {SDLK_w}, 0.035f, 0},
        {0.0f, {SDLK_UP}, 0.0175f, 0},
        {0.0f, {SDLK_d}, 0, 0.0175f},
        {0.0f, {SDLK_w, SDLK_RIGHT}, 0.0175f / std::sqrt(2.0f), 0.0175f / std::sqrt(2.0f)},
        {0.0f, {SDLK_w, SDLK_s}, 0, 0},
        {0.0f, {SDLK_a, SDLK_LEFT, SDLK_d}, 0, 0},
    };
    for (const auto& step : steps) {
        ResetPlayer();
        GameState.velocityX = GameState.velocityZ = 0.0f;
        GameState.ballSize = step.size;
        Hold(step.keys);
        UpdateGame(1.0f);
        EXPECT_NEAR(GameState.ballX - StartX, step.dx, 1e-5f) << &step - steps;
        EXPECT_NEAR(GameState.ballZ - StartZ, step.dz, 1e-5f) << &step - steps;
    }
    EXPECT_NEAR(GameState.velocityX, 0.0f, 1e-6f);
    Hold({});
    InputState.keys[SDLK_a] = ButtonState::Pressed;
    GameState.ballHeading = 1.0f;
    UpdateGame(1.0f);
    EXPECT_NEAR(GameState.ballZ - StartZ, -0.0175f, 1e-5f) << "a key pressed this frame counts";
    EXPECT_NEAR(GameState.velocityZ, -0.0175f * 0.91f, 1e-5f) << "less the friction";
    EXPECT_NEAR(GameState.ballHeading, 1.0f + (-QuarterTurn - 1.0f) * 0.25f * 0.0175f, 1e-5f)
        << "the figure turns toward its travel by its speed";
    // Holding forward, the speed settles where a frame's gain equals its friction loss.
    GameState.ballHeading = 0.0f;
    Hold({SDLK_UP});
    for (int frame = 0; frame < 1000; ++frame) {
        GameState.ballX = StartX;
        UpdateGame(1.0f);
    }
    EXPECT_NEAR(GameState.velocityX, 0.91f * 0.0175f / 0.09f, 1e-4f);
    EXPECT_NEAR(GameState.ballHeading, 0.0f, 1e-3f);
}

TEST_F(MovementTest, BlendAngleTakesTheShortWay) {
    // {heading, target, fraction, result}: wrapped one turn at a time, rounded to float after each.
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

    // Headings too far off for a short wrap, or too large for a turn to change them, still give
    // one within half a turn.
    const float far[][2] = {{1e5f, 0.5f},         {-12345.6f, 0.5f}, {1e9f, 0.5f},
                            {-1e30f, 0.5f},       {3e38f, 0.5f},     {1e9f, 1e9f - 3000.0f},
                            {-1e9f, -1e9f + 1e4f}};
    for (const auto& c : far) {
        GameState.ballHeading = c[0];
        EXPECT_LE(std::fabs(BlendAngle(c[1], 0.0f) - c[1]), 3.1416f) << c[0] << " toward " << c[1];
    }
    GameState.ballHeading = 0.25f;
    EXPECT_FLOAT_EQ(BlendAngle(1e30f, 1.0f), 1e30f);
    for (const auto& [target, fraction] : {std::pair{NAN, 0.5f}, {INFINITY, 0.5f}, {1.0f, NAN}}) {
        EXPECT_EQ(BlendAngle(target, fraction), 0.25f) << target << ", " << fraction;
    }
    GameState.ballHeading = NAN;
    EXPECT_TRUE(std::isnan(BlendAngle(1.0f, 0.5f)));
}

TEST_F(MovementTest, EasingMultipliesLeftToRight) {
    // {camera z (else roll), start, t, result}: (goal - value) * rate * t; grouping the rate
    // with t first gives the float next door in each of these.
    const struct {
        bool camera;
        float start;
        float t;
        float eased;
    } cases[] = {{false, 0.0f, 1.02f, 0.0714000016f},
                 {false, 0.0f, 1.98f, 0.138600007f},
                 {true, 0.0f, 0.96f, 4.31999969f},
                 {true, 10.0f, 1.02f, 13.8250008f}};
    for (const auto& c : cases) {
        ResetPlayer();
        GameState.rollTarget = 0.7f;
        GameState.cameraRoll = c.start;
        GameState.cameraZ = c.start; // the goal lies at the ball's z, 60, with the yaw at 0
        UpdateGame(c.t);
        EXPECT_EQ(c.camera ? GameState.cameraZ : GameState.cameraRoll, c.eased) << &c - cases;
    }
}

TEST_F(MovementTest, WallsStopAndGuideTheBallAtAnyFrameRate) {
    LevelMap.walls[14][12] = 1;
    Hold({SDLK_w});
    for (int frame = 0; frame < 300; ++frame) {
        UpdateGame(1.0f);
        ASSERT_LE(GameState.ballX, 67.5f - 1.25f);
    }
    EXPECT_FLOAT_EQ(GameState.ballX, 67.5f - 1.25f) << "pressed onto the face";
    EXPECT_EQ(GameState.velocityX, 0.0f) << "no motion into the wall";
    // Driven diagonally along a row of trees, the ball slides along it.
    for (int i = 2; i < 23; ++i) {
        LevelMap.walls[i][14] = 1;
    }
    Hold({SDLK_w, SDLK_d});
    for (float t = 0.5f; t <= 3.0f; t += 0.25f) {
        ResetPlayer();
        GameState.ballX = 20.0f;
        GameState.velocityX = GameState.velocityZ = 0.0f;
        for (int frame = 0; frame < 200; ++frame) {
            UpdateGame(t);
            ASSERT_LE(GameState.ballZ, 67.5f - 1.25f) << "time scale " << t;
        }
        EXPECT_FLOAT_EQ(GameState.ballZ, 67.5f - 1.25f) << "time scale " << t;
        EXPECT_GT(GameState.velocityX, 0.1f) << "time scale " << t;
        EXPECT_EQ(GameState.velocityZ, 0.0f) << "time scale " << t;
    }
}

TEST_F(MovementTest, TheCameraEasesBehindTheBallAndStrangeStatesSettle) {
    // The camera closes 7.5 % of its distance to its place each frame, and settles 30 + 50 * size
    // behind the orbit centre 5.75 + 15 * size above the ball, along the view.
    float lastGap = 0.0f;
    for (int frame = 0; frame < 600; ++frame) {
        UpdateGame(1.0f);
        const float size = GameState.ballSize;
        const float pitch = GameState.cameraPitch;
        const float reach = 30.0f + 50.0f * size;
        const float gap =
            std::hypot(GameState.cameraX - (StartX - std::cos(pitch) * reach),
                       GameState.cameraY - (5.75f + 15.0f * size - std::sin(pitch) * reach));
        if (frame > 0 && frame < 30) {
            EXPECT_NEAR(gap / lastGap, 0.925f, 2e-3f) << "frame " << frame;
        }
        lastGap = gap;
    }
    EXPECT_LT(lastGap, 1e-2f);
    EXPECT_NEAR(GameState.cameraZ, StartZ, 1e-3f);

    GameState.ballX = NAN;
    GameState.velocityZ = INFINITY;
    GameState.ballSize = NAN;
    UpdateGame(1.0f);
    EXPECT_FLOAT_EQ(GameState.ballX, StartX);
    EXPECT_EQ(GameState.velocityZ, 0.0f);
    EXPECT_EQ(GameState.ballSize, 0.0f);
    InputState.mouseX = INT32_MIN;
    InputState.mouseY = INT32_MAX;
    UpdateGame(1.0f);
    EXPECT_LT(GameState.yawTarget, -100.0f) << "a pointer far to the left turns fast";
    EXPECT_FLOAT_EQ(GameState.pitchTarget, -QuarterTurn);
    GameState.ballX = 1e30f;
    GameState.ballZ = -1e30f;
    GameState.velocityX = 3e38f;
    Hold({SDLK_w});
    UpdateGame(3.0f);
    EXPECT_TRUE(GameState.ballX > 115.0f && GameState.ballX <= 122.5f)
        << "back at the nearest edge";
    EXPECT_TRUE(GameState.ballZ >= -2.5f && GameState.ballZ < 5.0f) << GameState.ballZ;
    EXPECT_TRUE(std::isfinite(GameState.velocityX));
}

} // namespace
