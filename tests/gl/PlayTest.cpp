// The real game played as a player plays it: X key events and pointer motion in, the window's
// pixels out. The screenshots are kept in the build folder's tests/screenshots.
#include "support/GameTest.h"
#include "support/Picture.h"

#include <X11/keysym.h>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

// The overlay's level line (double size, two panel rows high) and its snow line.
constexpr int OverlayWidth = 406;
constexpr int LevelTop = 20;
constexpr int LevelHeight = 44;
constexpr int SnowTop = 64;
constexpr int SnowHeight = 22;
// The scene below the overlay.
constexpr int SceneTop = 90;
constexpr int SceneHeight = 390;

void Pause(int millis) {
    std::this_thread::sleep_for(std::chrono::milliseconds(millis));
}

Picture LevelLine(const Picture& frame) {
    return Crop(frame, 0, LevelTop, OverlayWidth, LevelHeight);
}

Picture SnowLine(const Picture& frame) {
    return Crop(frame, 0, SnowTop, OverlayWidth, SnowHeight);
}

Picture Scene(const Picture& frame) {
    return Crop(frame, 0, SceneTop, frame.width, SceneHeight);
}

double ChangedShare(const Picture& a, const Picture& b) {
    return static_cast<double>(CountDifferingPixels(a, b)) / (a.width * a.height);
}

struct PlayTest : GameTest {
    void SetUp() override {
        GameTest::SetUp();
        std::filesystem::create_directories(SCREENSHOT_DIR);
    }
    void TearDown() override {
        if (window != 0) {
            for (KeySym key : {XK_w, XK_Left, XK_Up}) {
                SetKey(display, window, key, false);
            }
        }
        GameTest::TearDown();
    }
    // Reads the window and keeps the picture as `name`.png among the test's screenshots.
    Picture Shot(const char* name) {
        const Picture frame = CaptureWindow(display, window);
        WritePng(std::string(SCREENSHOT_DIR) + "/" + name + ".png", frame);
        return frame;
    }
    // Holds a key down for a while, as a player does.
    void Hold(KeySym key, int millis) {
        SetKey(display, window, key, true);
        Pause(millis);
        SetKey(display, window, key, false);
    }
    Window window = 0;
};

TEST_F(PlayTest, StartSteerTurnAndClose) {
    game = StartGame(SOURCE_DIR, {}, {});
    window = FindSettledWindow(display, GameCaption);
    ASSERT_NE(window, 0u) << GameOutput(game);
    MovePointer(display, window, 320, 240);
    // The camera flies out behind the figure and comes to rest, sooner at a higher frame rate.
    Picture start = Shot("start");
    double moving = 1.0;
    for (int wait = 0; wait < 20 && moving >= 0.01; ++wait) {
        Pause(500);
        const Picture later = Shot("start");
        moving = ChangedShare(Scene(later), Scene(start));
        start = later;
    }
    EXPECT_LT(moving, 0.01) << "with the pointer at the centre and no key down the view rests";

    ASSERT_EQ(start.width, 640);
    Picture overlay;
    ASSERT_TRUE(ReadPng(ReferencePath("overlay-level-1"), &overlay));
    EXPECT_TRUE(PicturesMatch(LevelLine(start), LevelLine(overlay))) << "\" level: 1\" is shown";
    EXPECT_TRUE(PicturesMatch(SnowLine(start), SnowLine(overlay))) << "0.000000% is shown";

    MovePointer(display, window, 600, 240);
    Pause(2000);
    MovePointer(display, window, 320, 240);
    const Picture turned = Shot("turned");
    EXPECT_GT(ChangedShare(Scene(turned), Scene(start)), 0.08) << "the view turned";

    Hold(XK_w, 3000);
    Hold(XK_Left, 1500);
    Hold(XK_Up, 1500);
    const Picture steered = Shot("steered");
    EXPECT_GT(ChangedShare(Scene(steered), Scene(turned)), 0.2) << "the figure moved";
    EXPECT_TRUE(PicturesMatch(LevelLine(steered), LevelLine(overlay))) << "still level 1";
    EXPECT_FALSE(PicturesMatch(SnowLine(steered), SnowLine(overlay)))
        << "the share of snow gathered rose from 0";

    ASSERT_TRUE(IsRunning(game));
    RequestClose(display, window);
    EXPECT_EQ(WaitForExit(game, 5.0), 0) << GameOutput(game);
}

} // namespace
