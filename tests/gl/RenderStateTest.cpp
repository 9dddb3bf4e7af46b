// The window, the render state every frame starts from and what drawing leaves of it, and the
// atlas texture. Where the camera looks, the pixel tests show.
#include "app/Video.h"
#include "assets/Atlas.h"
#include "game/GameState.h"
#include "render/Hud.h"
#include "render/World.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr double HalfViewAngle = 0.39269908; // 22.5 degrees

// The state every frame starts from: what the window opens with, and what each drawing step puts
// back.
void ExpectFrameStartState(const char* after) {
    const std::pair<GLenum, GLint> values[] = {
        {GL_MATRIX_MODE, GL_MODELVIEW}, {GL_MODELVIEW_STACK_DEPTH, 1},
        {GL_PROJECTION_STACK_DEPTH, 1}, {GL_DEPTH_FUNC, GL_LESS},
        {GL_CULL_FACE_MODE, GL_BACK},   {GL_FRONT_FACE, GL_CCW},
        {GL_SHADE_MODEL, GL_SMOOTH},    {GL_DEPTH_TEST, GL_TRUE},
        {GL_CULL_FACE, GL_TRUE},        {GL_TEXTURE_2D, GL_FALSE},
        {GL_VERTEX_ARRAY, GL_FALSE},    {GL_TEXTURE_COORD_ARRAY, GL_FALSE},
        {GL_NORMAL_ARRAY, GL_FALSE},    {GL_LIGHTING, GL_FALSE},
        {GL_BLEND, GL_FALSE},           {GL_ALPHA_TEST, GL_FALSE}};
    for (const auto& [name, value] : values) {
        GLint got[4] = {};
        glGetIntegerv(name, got);
        EXPECT_EQ(got[0], value) << after << ": 0x" << std::hex << name;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << after;
}

// The game's window, the records put back afterwards.
struct RenderStateTest : ::testing::Test {
    void SetUp() override { InitVideo(); }
    void TearDown() override {
        ResetGlobalRecords();
        SDL_Quit();
    }
};
using AtlasTest = RenderStateTest;

TEST_F(RenderStateTest, TheWindowAndWhatTheWorldAndOverlayLeaveForTheNextFrame) {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "SDL/OpenGL Sample");
    EXPECT_STREQ(icon, "SDL/OpenGL Sample");
    // 45 degrees of view at the window's aspect, from 1 to 1000 units ahead, as the perspective's
    // terms give them.
    GLdouble p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5], 1 / std::tan(HalfViewAngle), 1e-6);
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
TEST_F(AtlasTest, EveryChannelOrderAndPaddedRowShowsTheSameColours) {
    // Two by two pixels: red, green / blue, orange; each row followed by five bytes of padding.
    const Uint8 colours[4][3] = {{250, 0, 0}, {0, 240, 0}, {0, 0, 230}, {255, 128, 0}};
    for (int bytesPerPixel : {3, 4}) {
        for (bool redFirst : {true, false}) {
            const int pitch = bytesPerPixel * 2 + 5;
            std::vector<Uint8> storage(static_cast<std::size_t>(pitch * 2), 0x77);
            for (int i = 0; i < 4; ++i) {
                Uint8* pixel = storage.data() + (i / 2) * pitch + (i % 2) * bytesPerPixel;
                pixel[0] = colours[i][redFirst ? 0 : 2];
                pixel[1] = colours[i][1];
                pixel[2] = colours[i][redFirst ? 2 : 0];
            }
            SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(
                storage.data(), 2, 2, bytesPerPixel * 8, pitch, redFirst ? 0xFF : 0xFF0000, 0xFF00,
                redFirst ? 0xFF0000 : 0xFF, bytesPerPixel == 4 ? 0xFF000000 : 0);
            AtlasPixels pixels;
            ASSERT_TRUE(PrepareAtlasPixels(surface, pixels));
            SDL_FreeSurface(surface);
            GLuint name = UploadAtlas(pixels);
            glBindTexture(GL_TEXTURE_2D, name);
            std::vector<Uint8> texels(16);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
            for (int i = 0; i < 12; ++i) {
                EXPECT_EQ(texels[i / 3 * 4 + i % 3], colours[i / 3][i % 3])
                    << bytesPerPixel << " bytes, red first " << redFirst << ", texel " << i / 3;
            }
            glDeleteTextures(1, &name);
        }
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the unpacking alignment is put back";
}

// Classic SDL 1.2 on X11 refuses a context with more samples than the display has, where it could
// simply go without; the game then asks once more without multisampling.
TEST(VideoTest, AContextWithoutMultisamplingIsTakenWhenNoOtherCanBeHad) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 64);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    EXPECT_NE(OpenVideoMode(SDL_GetVideoInfo()->vfmt->BitsPerPixel), nullptr) << SDL_GetError();
    SDL_Quit();
}

} // namespace
