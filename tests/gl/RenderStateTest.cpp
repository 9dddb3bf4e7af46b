// What the world and the overlay leave behind for the next frame, and where the camera looks.
#include "app/Video.h"
#include "game/GameState.h"
#include "render/Hud.h"
#include "render/World.h"
#include "support/RenderWindow.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Matrices {
    GLdouble model[16];
    GLdouble projection[16];
};

Matrices ReadMatrices() {
    Matrices m{};
    glGetDoublev(GL_MODELVIEW_MATRIX, m.model);
    glGetDoublev(GL_PROJECTION_MATRIX, m.projection);
    return m;
}

bool Same(const GLdouble* a, const GLdouble* b) {
    return std::equal(a, a + 16, b);
}

// Where a world point lands in the window, x from the left and y from the top.
void Project(const Matrices& m, double x, double y, double z, double* windowX, double* windowY) {
    const GLint viewport[4] = {0, 0, WindowWidth, WindowHeight};
    GLdouble wx = 0;
    GLdouble wy = 0;
    GLdouble wz = 0;
    gluProject(x, y, z, m.model, m.projection, viewport, &wx, &wy, &wz);
    *windowX = wx;
    *windowY = WindowHeight - wy;
}

void ExpectFrameStartState(const char* after) {
    GLint mode = 0;
    GLint depth = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(mode, GL_MODELVIEW) << after;
    EXPECT_EQ(depth, 1) << after;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1) << after;
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << after;
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE)) << after;
    for (GLenum off : {GL_TEXTURE_2D, GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_NORMAL_ARRAY,
                       GL_LIGHTING, GL_BLEND, GL_ALPHA_TEST}) {
        EXPECT_FALSE(glIsEnabled(off)) << after << ": 0x" << std::hex << off;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << after;
}

struct RenderStateTest : RenderWindowTest {};

TEST_F(RenderStateTest, WorldAndOverlayLeaveTheStateTheFrameStartedWith) {
    GameState.cameraX = 40.0f;
    GameState.cameraY = 12.0f;
    GameState.cameraZ = 50.0f;
    GameState.cameraPitch = -0.4f;
    GameState.cameraYaw = 0.7f;
    GameState.level = 3;
    const Matrices start = ReadMatrices();

    DrawWorld();
    ExpectFrameStartState("after the world");
    const Matrices world = ReadMatrices();
    EXPECT_FALSE(Same(world.model, start.model)) << "the camera is in the model-view matrix";
    EXPECT_TRUE(Same(world.projection, start.projection));

    DrawHud();
    ExpectFrameStartState("after the overlay");
    const Matrices hud = ReadMatrices();
    EXPECT_TRUE(Same(hud.model, world.model));
    EXPECT_TRUE(Same(hud.projection, start.projection));
}

// Yaw 0 looks along +x with +z on the right; a negative pitch looks down; a positive roll turns
// the picture counter-clockwise.
TEST_F(RenderStateTest, TheCameraLooksAlongItsAnglesFromItsPosition) {
    GameState.cameraX = 10.0f;
    GameState.cameraY = 2.0f;
    GameState.cameraZ = 20.0f;
    DrawWorld();
    double x = 0;
    double y = 0;
    Project(ReadMatrices(), 30.0, 2.0, 20.0, &x, &y);
    EXPECT_NEAR(x, 320.0, 0.01);
    EXPECT_NEAR(y, 240.0, 0.01);
    Project(ReadMatrices(), 30.0, 2.0, 25.0, &x, &y);
    EXPECT_GT(x, 400.0);
    Project(ReadMatrices(), 30.0, 7.0, 20.0, &x, &y);
    EXPECT_LT(y, 160.0);

    GameState.cameraPitch = -0.5f;
    GameState.cameraYaw = 1.2f;
    DrawWorld();
    const double c = std::cos(-0.5);
    Project(ReadMatrices(), 10.0 + 9 * c * std::cos(1.2), 2.0 + 9 * std::sin(-0.5),
            20.0 + 9 * c * std::sin(1.2), &x, &y);
    EXPECT_NEAR(x, 320.0, 0.01);
    EXPECT_NEAR(y, 240.0, 0.01);

    GameState.cameraPitch = 0.0f;
    GameState.cameraYaw = 0.0f;
    GameState.cameraRoll = 0.3f;
    DrawWorld();
    Project(ReadMatrices(), 30.0, 7.0, 20.0, &x, &y);
    EXPECT_LT(x, 300.0) << "a point above the centre moves to the left";
    EXPECT_LT(y, 240.0);
}

} // namespace
