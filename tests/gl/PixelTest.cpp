// Scenes set in the records, drawn by the real functions with the real meshes and atlas, and
// compared with the committed pictures in tests/reference.
#include "game/GameState.h"
#include "game/Level.h"
#include "render/Font.h"
#include "render/Hud.h"
#include "render/World.h"
#include "render/WorldBatch.h"
#include "support/RenderWindow.h"

#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

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

// Draws the world and the overlay as a frame does and compares the frame with the reference.
void ExpectFrame(const std::string& name, bool withWorld, bool withHud) {
    if (withWorld) {
        DrawWorld();
    }
    if (withHud) {
        DrawHud();
    }
    const std::string mismatch = CompareWithReference(ReadFrame(), name);
    EXPECT_EQ(mismatch, "") << name;
}

struct PixelTest : RenderWindowTest {};

// The first view of a level once the camera has flown out behind the figure.
TEST_F(PixelTest, StartViewOfALevel) {
    BuildTestLevel();
    GameState.ballX = StartX;
    GameState.ballZ = StartZ;
    AimCamera(StartX, 5.75f, StartZ, StartPitch, 0.0f, 30.0f);
    ExpectFrame("start-view", true, false);
}

// The figure on an empty floor, seen from the front left, framed to its height at each size.
TEST_F(PixelTest, FigureAtThreeSizesAndTwoHeadings) {
    for (float size : {0.0f, 0.5f, 1.0f}) {
        for (float heading : {0.0f, HalfTurn / 2}) {
            ResetScene();
            GameState.ballX = StartX;
            GameState.ballZ = StartZ;
            GameState.ballSize = size;
            GameState.ballHeading = heading;
            const float height = 2.98f + 17.96f * size;
            AimCamera(StartX, 0.5f * height, StartZ, -0.35f, HalfTurn - 0.6f, 2.4f * height);
            const std::string name = "figure-size-" + std::to_string(static_cast<int>(size * 10)) +
                                     "-heading-" + (heading == 0.0f ? "0" : "90");
            ExpectFrame(name, true, false);
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
    ExpectFrame("wall-cell", true, false);
    ResetScene();
    LevelMap.snow[48][30] = 1;
    LevelMap.snowOffsets[48][30] = -0.2f;
    AimCamera(120.0f, 0.4f, 75.0f, -0.05f, 0.0f, 6.0f);
    ExpectFrame("snow-pile", true, false);
}

// The browser's renderer draws each scene as the immediate one does: the level's buffers built
// once, then more and more piles gathered (collapsed in place), seen from two sides.
TEST_F(PixelTest, BatchedWorldMatchesImmediateWorld) {
    struct Scene {
        const char* name;
        float yaw;
        int gatheredFrom; // piles of columns 20 to this one are gathered before the frame
    };
    const Scene scenes[] = {{"start", 0.0f, 20}, {"gathered", 0.0f, 30}, {"turned", 2.0f, 49}};
    BuildTestLevel();
    BuildLevelBuffers();
    for (const Scene& scene : scenes) {
        for (int a = 20; a < scene.gatheredFrom; ++a) {
            for (int b = 0; b < SnowPoints; ++b) {
                LevelMap.snow[a][b] = 0;
            }
        }
        GameState.ballX = StartX;
        GameState.ballZ = StartZ;
        AimCamera(StartX, 5.75f, StartZ, StartPitch, scene.yaw, 30.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawWorld();
        const Picture immediate = ReadFrame();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawWorldBatched();
        const Picture batched = ReadFrame();
        EXPECT_TRUE(PicturesMatch(batched, immediate))
            << scene.name << ": " << DifferingShare(batched, immediate) << " of the pixels differ";
    }
    // The overlay's lines, each in one call, where the overlay puts them.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GameState.atlasTexture);
    Picture lines[2];
    for (auto drawText : {DrawText, DrawTextBatched}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawText(0.0f, 20.0f, " level: 10", 2.0f);
        drawText(0.0f, 64.0f, "  snow collected: 25.000000%", 1.0f);
        lines[drawText == DrawText ? 0 : 1] = ReadFrame();
    }
    EXPECT_TRUE(PicturesMatch(lines[1], lines[0])) << "text drawn in one call differs";
}

// The overlay at the first and the last level, and text with codes that have no glyph of their own:
// they show as spaces and keep their place.
TEST_F(PixelTest, OverlayAndText) {
    GameState.level = 1;
    GameState.snowTotal = 2491;
    ExpectFrame("overlay-level-1", false, true);
    ResetScene();
    GameState.level = 10;
    GameState.snowTotal = 2000;
    GameState.snowCollected = 500;
    ExpectFrame("overlay-level-10", false, true);
    ResetScene();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GameState.atlasTexture);
    DrawText(0.0f, 20.0f,
             "A!\x7f\x1f\x80\xff"
             "B",
             1.0f);
    DrawText(320.0f, 240.0f, "~", 2.0f);
    DrawText(0.0f, 0.0f, "", 1.0f);
    DrawText(0.0f, 0.0f, nullptr, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    ExpectFrame("text-codes", false, false);
}

} // namespace
