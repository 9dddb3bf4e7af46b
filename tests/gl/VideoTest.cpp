// The window and the render state every frame starts from, opened in this process.
#include "app/Video.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>

namespace {

struct VideoTest : ::testing::Test {
    void TearDown() override { SDL_Quit(); }
};

// Where a point straight ahead of the camera lands in window depth.
double DepthOfPointAhead(double distance) {
    GLdouble model[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble x = 0;
    GLdouble y = 0;
    GLdouble z = 0;
    gluProject(0.0, 0.0, -distance, model, projection, viewport, &x, &y, &z);
    return z;
}

TEST_F(VideoTest, InitVideoLeavesTheFixedRenderState) {
    InitVideo();
    EXPECT_STREQ(SDL_GetVideoSurface() != nullptr ? "open" : "closed", "open");
    EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
    EXPECT_EQ(SDL_GetVideoSurface()->h, 480);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "SDL/OpenGL Sample");
    EXPECT_STREQ(icon, "SDL/OpenGL Sample");

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    EXPECT_NEAR(DepthOfPointAhead(1.0), 0.0, 1e-6);
    EXPECT_NEAR(DepthOfPointAhead(1000.0), 1.0, 1e-6);
    EXPECT_GT(DepthOfPointAhead(1001.0), 1.0);

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LESS);
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CCW);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);

    // A cleared frame is opaque black at depth 1.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    unsigned char pixel[4] = {9, 9, 9, 9};
    float depth = 0.0f;
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glReadPixels(320, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(pixel[0] + pixel[1] + pixel[2], 0);
    EXPECT_EQ(depth, 1.0f);
}

// Classic SDL 1.2 on X11 refuses a context with more samples than the display has, where it
// could simply go without; the game then asks once more without multisampling.
TEST_F(VideoTest, AContextWithoutMultisamplingIsTakenWhenNoOtherCanBeHad) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 64);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    ASSERT_NE(OpenVideoMode(SDL_GetVideoInfo()->vfmt->BitsPerPixel), nullptr) << SDL_GetError();
    EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
    EXPECT_TRUE(glGetString(GL_VERSION) != nullptr);
}

} // namespace
