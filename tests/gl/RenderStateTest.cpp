// The window and the render state every frame starts from, and what drawing leaves of it. Where
// the camera looks, the pixel tests show.
#include "app/Video.h"
#include "game/GameState.h"
#include "render/Hud.h"
#include "render/World.h"
#include "support/RenderWindow.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>

namespace {

// Where a world point lands in the window: x from the left, y from the top, and depth.
GLdouble Project(double x, double y, double z, double* windowX = nullptr,
                 double* windowY = nullptr) {
    GLdouble model[16];
    GLdouble projection[16];
    const GLint viewport[4] = {0, 0, WindowWidth, WindowHeight};
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    GLdouble wx = 0;
    GLdouble wy = 0;
    GLdouble wz = 0;
    gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    if (windowX != nullptr) {
        *windowX = wx;
        *windowY = WindowHeight - wy;
    }
    return wz;
}

void ExpectFrameStartState(const char* after) {
    const std::pair<GLenum, GLint> values[] = {
        {GL_MATRIX_MODE, GL_MODELVIEW}, {GL_MODELVIEW_STACK_DEPTH, 1},
        {GL_PROJECTION_STACK_DEPTH, 1}, {GL_DEPTH_FUNC, GL_LESS},
        {GL_CULL_FACE_MODE, GL_BACK},   {GL_FRONT_FACE, GL_CCW},
        {GL_SHADE_MODEL, GL_SMOOTH}};
    for (const auto& [name, value] : values) {
        GLint got[4] = {};
        glGetIntegerv(name, got);
        EXPECT_EQ(got[0], value) << after << ": 0x" << std::hex << name;
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE)) << after;
    for (GLenum off : {GL_TEXTURE_2D, GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_NORMAL_ARRAY,
                       GL_LIGHTING, GL_BLEND, GL_ALPHA_TEST}) {
        EXPECT_FALSE(glIsEnabled(off)) << after << ": 0x" << std::hex << off;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << after;
}

using RenderStateTest = RenderWindowTest;

TEST_F(RenderStateTest, TheWindowAndWhatTheWorldAndOverlayLeaveForTheNextFrame) {
    EXPECT_EQ(SDL_GetVideoSurface()->w * 1000 + SDL_GetVideoSurface()->h, 640480);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "SDL/OpenGL Sample");
    EXPECT_STREQ(icon, "SDL/OpenGL Sample");
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2] * 1000 + viewport[3], 640480);
    // 45 degrees of view from 1 to 1000 units ahead.
    EXPECT_NEAR(Project(0, 0, -1), 0.0, 1e-6);
    EXPECT_NEAR(Project(0, 0, -1000), 1.0, 1e-6);
    double x = 0;
    double y = 0;
    Project(0, 0.41421356, -1, &x, &y);
    EXPECT_NEAR(y, 0.0, 0.01);

    ExpectFrameStartState("at the start");
    GameState.cameraPitch = -0.4f;
    GameState.level = 3;
    DrawWorld();
    ExpectFrameStartState("after the world");
    DrawHud();
    ExpectFrameStartState("after the overlay");
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
