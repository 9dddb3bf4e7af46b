// Scenes set in the records, drawn by the real functions with the real meshes and atlas, and
// compared with the committed pictures in tests/reference.
#include "app/Video.h"
#include "assets/Assets.h"
#include "assets/Atlas.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "render/Font.h"
#include "render/Hud.h"
#include "render/World.h"
#include "render/WorldBatch.h"
#include "support/Picture.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

bool assetsPrepared = false;
std::uint32_t atlas = 0;

// Puts the records back to their start values, keeping the atlas, and the matrices and switches a
// scene changes back to those the window was opened with; clears the frame.
void ResetScene() {
    ResetGlobalRecords();
    GameState.atlasTexture = atlas;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The frame drawn so far (the back buffer), top row first: row by row, as GL keeps the bottom
// row first.
Picture ReadFrame() {
    Picture frame = {WindowWidth, WindowHeight,
                     std::vector<std::uint8_t>(WindowWidth * WindowHeight * 3)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int y = 0; y < WindowHeight; ++y) {
        glReadPixels(0, WindowHeight - 1 - y, WindowWidth, 1, GL_RGB, GL_UNSIGNED_BYTE,
                     frame.rgb.data() + y * WindowWidth * 3);
    }
    return frame;
}

// Each test draws in the game's window, opened in the source folder, where the media lie, with
// the assets prepared as at start-up: once per program, as their preparation cannot be repeated;
// a window opened again gets the atlas uploaded again. The window is closed after each test, so
// that the display holds only the windows a test makes itself.
struct PixelTest : ::testing::Test {
    void SetUp() override {
        char previous[PATH_MAX];
        ASSERT_TRUE(getcwd(previous, sizeof previous) != nullptr && chdir(SOURCE_DIR) == 0);
        InitVideo();
        if (!assetsPrepared) {
            PrepareAssets();
            assetsPrepared = true;
        } else {
            GameState.atlasTexture = LoadTextureAtlas();
        }
        atlas = GameState.atlasTexture;
        ASSERT_EQ(chdir(previous), 0);
        ResetScene();
    }
    void TearDown() override {
        ResetScene();
        SDL_Quit();
    }
};

constexpr float HalfTurn = 3.14159265f;

// Puts the camera `distance` from (x, y, z), looking at it with the given pitch and yaw.
void AimCamera(float x, float y, float z, float pitch, float yaw, float distance) {
    GameState.cameraPitch = pitch;
    GameState.cameraYaw = yaw;
    GameState.cameraX = x - distance * std::cos(pitch) * std::cos(yaw);
    GameState.cameraY = y - distance * std::sin(pitch);
    GameState.cameraZ = z - distance * std::cos(pitch) * std::sin(yaw);
}

// A level with trees round the border and along two inner lines, snow on every open point but
// the start cell, and offsets that vary from cell to cell.
void BuildTestLevel() {
    for (int i = 0; i < MazeCells; ++i) {
        for (int j = 0; j < MazeCells; ++j) {
            const bool border = i == 0 || j == 0 || i == MazeCells - 1 || j == MazeCells - 1;
            const bool inner = (i == 16 && j > 4 && j != 12) || (j == 8 && i > 2 && i < 10);
            LevelMap.walls[i][j] = border || inner ? 1 : 0;
            LevelMap.wallOffsets[i][j] = -0.01f * static_cast<float>((i * 7 + j * 13) % 100);
        }
    }
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            const int i = (a + 1) / 2;
            const int j = (b + 1) / 2;
            const bool start = i == 12 && j == 12;
            LevelMap.snow[a][b] =
                i < MazeCells && j < MazeCells && LevelMap.walls[i][j] == 0 && !start ? 1 : 0;
            LevelMap.snowOffsets[a][b] = -0.005f * static_cast<float>((a * 31 + b * 17) % 100);
        }
    }
}

// Compares the frame with the reference `name`; a frame that differs is written beside it as
// <name>.actual.png, for a person to compare.
void ExpectFrame(const std::string& name) {
    const Picture frame = ReadFrame();
    Picture reference;
    ReadPng(ReferencePath(name), &reference);
    if (!PicturesMatch(frame, reference)) {
        WritePng(ReferencePath(name + ".actual"), frame);
        ADD_FAILURE() << DifferingShare(frame, reference) * 100 << " % of the pixels differ from "
                      << ReferencePath(name) << " (all when it is missing); the frame drawn is in "
                      << ReferencePath(name + ".actual");
    }
}

// Identity matrices and the atlas bound, as the overlay draws its text.
void EnterTextSpace() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GameState.atlasTexture);
}

// The first view of a level once the camera has flown out behind the figure.
TEST_F(PixelTest, StartViewOfALevel) {
    BuildTestLevel();
    ResetPlayer();
    AimCamera(StartX, 5.75f, StartZ, StartPitch, 0.0f, 30.0f);
    DrawWorld();
    ExpectFrame("start-view");
}

// The figure on an empty floor, seen from the front left, framed to its height at each size; the
// largest first, so that nothing of a larger figure stays in the next one's blend.
TEST_F(PixelTest, FigureAtThreeSizesAndTwoHeadings) {
    for (float size : {1.0f, 0.5f, 0.0f}) {
        for (float heading : {0.0f, HalfTurn / 2}) {
            ResetScene();
            ResetPlayer();
            GameState.ballSize = size;
            GameState.ballHeading = heading;
            const float height = 2.98f + 17.96f * size;
            AimCamera(StartX, 0.5f * height, StartZ, -0.35f, HalfTurn - 0.6f, 2.4f * height);
            const std::string name = "figure-size-" + std::to_string(static_cast<int>(size * 10)) +
                                     "-heading-" + (heading == 0.0f ? "0" : "90");
            DrawWorld();
            ExpectFrame(name);
        }
    }
}

// One wall cell, its floor tile and its tree sunk by the cell's offset; and one pile by the edge of
// the floor, against the dark beyond, away from the diagonal, so that a pile drawn at the mirrored
// place shows.
TEST_F(PixelTest, WallCellAndSnowPile) {
    LevelMap.walls[12][14] = 1;
    LevelMap.wallOffsets[12][14] = -0.5f;
    GameState.ballX = 5.0f;
    GameState.ballZ = 5.0f;
    AimCamera(60.0f, 4.0f, 70.0f, -0.3f, 0.3f, 16.0f);
    DrawWorld();
    ExpectFrame("wall-cell");
    ResetScene();
    LevelMap.snow[48][30] = 1;
    LevelMap.snowOffsets[48][30] = -0.2f;
    AimCamera(120.0f, 0.4f, 75.0f, -0.05f, 0.0f, 6.0f);
    DrawWorld();
    ExpectFrame("snow-pile");
}

// The browser's renderer draws each scene as the immediate one does: the level's buffers built
// once, then more and more piles gathered (collapsed in place), seen from two sides.
TEST_F(PixelTest, BatchedWorldMatchesImmediateWorld) {
    // The view's yaw, and the column up to which the piles from column 20 on are gathered.
    const std::pair<float, int> scenes[] = {{0.0f, 20}, {0.0f, 30}, {2.0f, 49}};
    BuildTestLevel();
    BuildLevelBuffers();
    ResetPlayer();
    for (const auto& [yaw, gatheredTo] : scenes) {
        for (int a = 20; a < gatheredTo; ++a) {
            std::fill_n(LevelMap.snow[a], SnowPoints, 0);
        }
        AimCamera(StartX, 5.75f, StartZ, StartPitch, yaw, 30.0f);
        Picture frames[2];
        for (auto drawWorld : {DrawWorld, DrawWorldBatched}) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            drawWorld();
            frames[drawWorld == DrawWorld ? 0 : 1] = ReadFrame();
        }
        EXPECT_TRUE(PicturesMatch(frames[1], frames[0]))
            << "gathered to " << gatheredTo << ": " << DifferingShare(frames[1], frames[0]);
    }
    // The overlay's lines, each in one call, where the overlay puts them.
    EnterTextSpace();
    Picture lines[2];
    for (auto drawText : {DrawText, DrawTextBatched}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawText(0.0f, 20.0f, " level: 10", 2.0f);
        drawText(0.0f, 64.0f, "  snow collected: 25.000000%", 1.0f);
        lines[drawText == DrawText ? 0 : 1] = ReadFrame();
    }
    EXPECT_TRUE(PicturesMatch(lines[1], lines[0])) << "text drawn in one call differs";
}

// The overlay at the first and the last level, over a world nearer than anything it draws; and
// text with codes that have no glyph of their own: they show as spaces and keep their place.
TEST_F(PixelTest, OverlayAndText) {
    const int levels[][3] = {{1, 0, 2491}, {10, 500, 2000}}; // level, piles gathered, piles
    for (const auto& [level, collected, total] : levels) {
        ResetScene();
        GameState.level = level;
        GameState.snowCollected = collected;
        GameState.snowTotal = total;
        glClearDepth(0.0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        DrawHud();
        ExpectFrame("overlay-level-" + std::to_string(level));
    }
    ResetScene();
    EnterTextSpace();
    DrawText(0.0f, 20.0f,
             "A!\x7f\x1f\x80\xff"
             "B",
             1.0f);
    DrawText(320.0f, 240.0f, "~", 2.0f);
    DrawText(0.0f, 0.0f, "", 1.0f);
    DrawText(0.0f, 0.0f, nullptr, 1.0f);
    ExpectFrame("text-codes");
}

} // namespace
