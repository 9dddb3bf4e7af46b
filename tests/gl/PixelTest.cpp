// Scenes set in the records, drawn by the real functions with the real meshes and atlas, and
// compared with the committed pictures in tests/reference; the render state every frame starts
// from and what drawing leaves of it, the atlas texture, the window's fallback without
// multisampling; and the icons, drawn from the figure and the atlas.
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
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool assetsPrepared = false;
std::uint32_t atlas = 0;

// Puts the records back to their start values, keeping the atlas, and clears the frame. Drawing
// leaves the matrices and switches as it found them (the render-state test below sees to that).
void ResetScene() {
    ResetGlobalRecords();
    GameState.atlasTexture = atlas;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The frame drawn so far (the back buffer), top row first: row by row, as GL keeps the bottom
// row first (one row at a time needs no row alignment). The frame is cleared for the next scene.
Picture ReadFrame() {
    Picture frame = {WindowWidth, WindowHeight,
                     std::vector<std::uint8_t>(WindowWidth * WindowHeight * 3)};
    for (int y = 0; y < WindowHeight; ++y) {
        glReadPixels(0, WindowHeight - 1 - y, WindowWidth, 1, GL_RGB, GL_UNSIGNED_BYTE,
                     frame.rgb.data() + y * WindowWidth * 3);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return frame;
}

// Each test draws in the game's window, opened in the source folder, where the media lie, with
// the assets prepared as at start-up: once per program, as their preparation cannot be repeated;
// a window opened again gets the atlas uploaded again. The window is closed after each test, so
// that the display holds only the windows a test makes itself.
struct PixelTest : ::testing::Test {
    void SetUp() override {
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(SOURCE_DIR);
        InitVideo();
        if (!assetsPrepared) {
            PrepareAssets();
            assetsPrepared = true;
        } else {
            GameState.atlasTexture = LoadTextureAtlas();
        }
        atlas = GameState.atlasTexture;
        std::filesystem::current_path(previous);
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

// A level with trees round the border and along two inner lines, read as the game reads a level
// file; its offsets are the C library's first draws after seed 1.
void BuildTestLevel() {
    std::string text;
    for (int j = 0; j < MazeCells; ++j) {
        for (int i = 0; i < MazeCells; ++i) {
            const bool border = i == 0 || j == 0 || i == MazeCells - 1 || j == MazeCells - 1;
            const bool inner = (i == 16 && j > 4 && j != 12) || (j == 8 && i > 2 && i < 10);
            text += border || inner ? "1" : "0";
        }
        text += "\n";
    }
    std::istringstream stream(text);
    std::srand(1);
    LoadLevelFrom(stream);
}

// Compares the frame with the reference `name`; a frame that differs is written into the build
// tree as <name>.actual.png, for a person to compare. Gives the frame.
Picture ExpectFrame(const std::string& name) {
    const Picture frame = ReadFrame();
    Picture reference;
    ReadPng(ReferencePath(name), &reference);
    if (!PicturesMatch(frame, reference)) {
        const std::string actual = SCREENSHOT_DIR "/" + name + ".actual.png";
        WritePng(actual, frame);
        ADD_FAILURE() << DifferingShare(frame, reference) * 100 << " % of the pixels differ from "
                      << name << " (all when it is missing); see " << actual;
    }
    return frame;
}

// The figure on an empty floor, seen from the front left, framed to its height at each size; the
// largest first, so that nothing of a larger figure stays in the next one's blend; then beside a
// tree.
TEST_F(PixelTest, FigureAtThreeSizesAndTwoHeadingsAndBesideATree) {
    ResetPlayer();
    for (float size : {1.0f, 0.5f, 0.0f}) {
        for (float heading : {0.0f, HalfTurn / 2}) {
            GameState.ballSize = size;
            GameState.ballHeading = heading;
            const float height = 2.98f + 17.96f * size;
            AimCamera(StartX, 0.5f * height, StartZ, -0.35f, HalfTurn - 0.6f, 2.4f * height);
            DrawWorld();
            ExpectFrame("figure-size-" + std::to_string(static_cast<int>(size * 10)) + "-heading-" +
                        (heading == 0.0f ? "0" : "90"));
        }
    }
    // One wall cell, its floor tile and its tree sunk by the cell's offset, the small figure left
    // of it. (The piles, their offsets and their layout show in the start view below.)
    ResetScene();
    LevelMap.walls[12][14] = 1;
    LevelMap.wallOffsets[12][14] = -0.5f;
    GameState.ballX = 55.0f;
    GameState.ballZ = 71.0f;
    AimCamera(60.0f, 4.0f, 70.0f, -0.3f, 0.3f, 16.0f);
    DrawWorld();
    ExpectFrame("wall-cell");
}

// The first view of a level once the camera has flown out behind the figure; and the browser's
// renderer drawing each scene as the immediate one does: the level's buffers built once the level
// is read (after a level of snow without trees), then every other pile of more and more columns
// gathered (collapsed in place), seen from two sides, the figure close. The walk of the level gives
// every pile that holds snow, on its own point. Its text is compared with the same picture as the
// desktop's below.
TEST_F(PixelTest, BatchedWorldMatchesImmediateWorld) {
    // The view's yaw and distance, and the column up to which every other pile from column 20 on
    // is gathered.
    const float scenes[][3] = {{0.0f, 30.0f, 20}, {0.0f, 30.0f, 30}, {2.0f, 12.0f, 49}};
    std::fill_n(&LevelMap.snow[0][0], SnowPoints * SnowPoints, 1);
    DrawWorldBatched(); // a level whose buffers must give way to the next level's
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    BuildTestLevel();
    ResetPlayer();
    for (const auto& [yaw, distance, gatheredTo] : scenes) {
        for (int point = 20 * SnowPoints; point < gatheredTo * SnowPoints; point += 2) {
            LevelMap.snow[point / SnowPoints][point % SnowPoints] = 0;
        }
        WalkWorld([](const Placement& placed) {
            EXPECT_TRUE(placed.piece != Piece::Pile || LevelMap.snow[placed.snowA][placed.snowB]);
        });
        AimCamera(StartX, 5.75f, StartZ, StartPitch, yaw, distance);
        DrawWorldBatched();
        const Picture batched = ReadFrame();
        DrawWorld();
        const Picture immediate = gatheredTo == 20 ? ExpectFrame("start-view") : ReadFrame();
        EXPECT_TRUE(PicturesMatch(batched, immediate)) << "gathered to " << gatheredTo;
    }
}

// The overlay at the first and the last level, each line over the panel drawn before it, also
// compared in its own corner, where a digit is a large share (20.072260 % at the last); and text
// with codes that have no glyph of their own: they show as spaces and keep their place, drawn a
// glyph at a time and all in one call, the browser's way.
TEST_F(PixelTest, OverlayAndText) {
    const int levels[][3] = {{1, 0, 2491}, {10, 500, 2491}}; // level, piles gathered, piles
    const auto corner = [](const Picture& frame) { return Crop(frame, 0, 0, 406, 90); };
    for (const auto& [level, collected, total] : levels) {
        GameState.level = level;
        GameState.snowCollected = collected;
        GameState.snowTotal = total;
        DrawHud();
        const std::string name = "overlay-level-" + std::to_string(level);
        Picture reference;
        ReadPng(ReferencePath(name), &reference);
        EXPECT_TRUE(PicturesMatch(corner(ExpectFrame(name)), corner(reference))) << name;
    }
    // The overlay leaves the model-view matrix as it was and the atlas bound.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    for (auto drawText : {DrawText, DrawTextBatched}) {
        SCOPED_TRACE(drawText == DrawText ? "a glyph at a time" : "in one call");
        drawText(0.0f, 20.0f, "A!\177\037\200\377B", 1.0f);
        drawText(320.0f, 240.0f, "~", 2.0f);
        drawText(0.0f, 0.0f, "", 1.0f);
        drawText(0.0f, 0.0f, nullptr, 1.0f);
        ExpectFrame("text-codes");
    }
}

// The state every frame starts from: what the window opens with once the atlas is uploaded, and
// what each drawing step puts back.
void ExpectFrameStartState(const char* after) {
    const std::pair<GLenum, GLint> values[] = {
        {GL_MATRIX_MODE, GL_MODELVIEW}, {GL_MODELVIEW_STACK_DEPTH, 1},
        {GL_PROJECTION_STACK_DEPTH, 1}, {GL_DEPTH_FUNC, GL_LESS},
        {GL_CULL_FACE_MODE, GL_BACK},   {GL_FRONT_FACE, GL_CCW},
        {GL_SHADE_MODEL, GL_SMOOTH},    {GL_DEPTH_TEST, GL_TRUE},
        {GL_CULL_FACE, GL_TRUE},        {GL_TEXTURE_2D, GL_FALSE},
        {GL_VERTEX_ARRAY, GL_FALSE},    {GL_TEXTURE_COORD_ARRAY, GL_FALSE},
        {GL_NORMAL_ARRAY, GL_FALSE},    {GL_UNPACK_ALIGNMENT, 4}};
    for (const auto& [name, value] : values) {
        GLint got[4] = {};
        glGetIntegerv(name, got);
        EXPECT_EQ(got[0], value) << after << ": 0x" << std::hex << name;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << after;
}

TEST_F(PixelTest, TheWindowAndWhatTheWorldAndOverlayLeaveForTheNextFrame) {
    char* caption = nullptr;
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ(caption, "SDL/OpenGL Sample");
    // 45 degrees of view at the window's aspect, from 1 to 1000 units ahead, as the perspective's
    // terms give them.
    GLdouble p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5], 1 / std::tan(0.39269908), 1e-6);
    EXPECT_NEAR(p[0] * WindowWidth, p[5] * WindowHeight, 1e-4);
    EXPECT_NEAR(p[14] / (p[10] - 1), 1.0, 1e-6) << "near";
    EXPECT_NEAR(p[14] / (p[10] + 1), 1000.0, 1e-3) << "far";
    ExpectFrameStartState("at the start");
    GameState.cameraPitch = -0.4f;
    GameState.level = 3;
    DrawWorld();
    ExpectFrameStartState("after the world");
    DrawHud();
    ExpectFrameStartState("after the overlay");
}

// The atlas as a texture: every channel order and padded rows upload with their own colours.
TEST_F(PixelTest, AtlasUploadInEveryChannelOrderAndPaddedRowShowsTheSameColours) {
    // Two by two pixels: red, green / blue, orange; each row followed by five bytes of padding.
    const Uint8 colours[4][3] = {{250, 0, 0}, {0, 240, 0}, {0, 0, 230}, {255, 128, 0}};
    for (int bytesPerPixel : {3, 4}) {
        for (bool redFirst : {true, false}) {
            const int pitch = bytesPerPixel * 2 + 5;
            std::vector<Uint8> storage(static_cast<std::size_t>(pitch * 2), 0x77);
            // Channel i % 3 of pixel i / 3, in the surface's channel order.
            for (int i = 0; i < 12; ++i) {
                storage[(i / 6) * pitch + (i / 3 % 2) * bytesPerPixel + i % 3] =
                    colours[i / 3][redFirst ? i % 3 : 2 - i % 3];
            }
            SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(
                storage.data(), 2, 2, bytesPerPixel * 8, pitch, redFirst ? 0xFF : 0xFF0000, 0xFF00,
                redFirst ? 0xFF0000 : 0xFF, bytesPerPixel == 4 ? 0xFF000000 : 0);
            AtlasPixels pixels;
            ASSERT_TRUE(PrepareAtlasPixels(surface, pixels));
            SDL_FreeSurface(surface);
            GLuint name = UploadAtlas(pixels); // left bound
            std::vector<Uint8> texels(16);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
            for (int i = 0; i < 12; ++i) {
                EXPECT_EQ(texels[i / 3 * 4 + i % 3], colours[i / 3][i % 3])
                    << bytesPerPixel << " bytes, red first " << redFirst << ", texel " << i / 3;
            }
            glDeleteTextures(1, &name);
        }
    }
}

// Classic SDL 1.2 on X11 refuses a context with more samples than the display has, where it could
// simply go without; the game then asks once more without multisampling.
TEST(VideoTest, AContextWithoutMultisamplingIsTakenWhenNoOtherCanBeHad) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 64);
    EXPECT_NE(OpenVideoMode(SDL_GetVideoInfo()->vfmt->BitsPerPixel), nullptr) << SDL_GetError();
    SDL_Quit();
}

// A renderer on another processor may round a texel differently; a changed figure, atlas or view
// changes far more than this.
constexpr int TexelTolerance = 8;

// The icon renderer rebuilds the committed icons from the game's own figure and atlas.
TEST(IconTest, TheRendererRebuildsTheCommittedIcons) {
    ScratchFolder scratch;
    const std::string command = std::string(ICON_RENDERER) + " " + SOURCE_DIR + " " + scratch.path;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (int size : {16, 24, 32, 48, 64, 128, 192, 256, 512}) {
        const std::string name = "snowroll-" + std::to_string(size) + ".png";
        // Over black and over white, so that both the colours and the alpha are compared.
        for (std::uint8_t ground : {0, 255}) {
            Picture made, kept;
            ReadPng(scratch.path + "/" + name, &made, ground);
            ReadPng(std::string(SOURCE_DIR) + "/packaging/icons/" + name, &kept, ground);
            EXPECT_EQ(DifferingShare(made, kept, TexelTolerance), 0.0)
                << name << ": run the icon renderer";
        }
    }
}

} // namespace
