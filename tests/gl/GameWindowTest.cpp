// The real game binary in a real window: start, keys, close request and failed starts.
#include "support/GameProcess.h"
#include "support/Scratch.h"

#include <X11/keysym.h>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

const char* const Caption = "SDL/OpenGL Sample";

struct GameWindowTest : ::testing::Test {
    void SetUp() override {
        display = OpenDisplay();
        ASSERT_NE(display, nullptr)
            << "the display tests need DISPLAY (the test command starts Xvfb)";
    }
    void TearDown() override {
        StopGame(game);
        if (display != nullptr) {
            CloseDisplay(display);
        }
    }
    // The game's window once SDL has settled it: SDL may recreate it when it sets the GL mode.
    Window SettledWindow() {
        Window window = FindWindow(display, Caption, 10.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return window != 0 ? FindWindow(display, Caption, 5.0) : 0;
    }
    Display* display = nullptr;
    GameProcess game;
};

void Pause(int millis) {
    std::this_thread::sleep_for(std::chrono::milliseconds(millis));
}

TEST_F(GameWindowTest, KeysDoNotEndTheGameAndACloseRequestDoes) {
    game = StartGame(SOURCE_DIR, {"--help", "-fullscreen", "level9"}, {});
    const Window window = SettledWindow();
    ASSERT_NE(window, 0u) << GameOutput(game);

    int width = 0;
    int height = 0;
    ASSERT_TRUE(WindowSize(display, window, &width, &height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(WindowIconName(display, window), Caption);

    for (KeySym key : {XK_Escape, XK_q, XK_w, XK_F4, XK_Return}) {
        TypeKey(display, window, key);
    }
    Pause(500);
    ASSERT_TRUE(IsRunning(game)) << "the game ended on a key press";

    const auto asked = std::chrono::steady_clock::now();
    RequestClose(display, window);
    EXPECT_EQ(WaitForExit(game, 5.0), 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(FindWindow(display, Caption, 0.2), 0u);
}

// A game that cannot open its window ends at once with the status of the failed step, writes
// nothing of its own and leaves no window behind.
TEST_F(GameWindowTest, FailedStartsEndWithTheStatusOfTheFailedStep) {
    struct Case {
        std::vector<std::string> environment;
        int status;
    };
    const Case cases[] = {
        {{"SDL_VIDEODRIVER=no-such-driver"}, 1},           // SDL_Init fails
        {{"SDL_VIDEODRIVER=dummy"}, 3},                    // no OpenGL: no video mode
        {{"DISPLAY", "SDL_VIDEODRIVER", "TERM=xterm"}, 3}, // Debian's text-terminal driver
        {{"DISPLAY", "SDL_VIDEODRIVER", "TERM"}, 1},       // ... whose terminal library ends it
    };
    for (const Case& c : cases) {
        game = StartGame(SOURCE_DIR, {}, c.environment);
        EXPECT_EQ(WaitForExit(game, 10.0), c.status) << c.environment[0];
        StopGame(game);
        EXPECT_EQ(FindWindow(display, Caption, 0.1), 0u);
    }
    game = StartGame(SOURCE_DIR, {}, {"SDL_VIDEODRIVER=dummy"});
    EXPECT_EQ(WaitForExit(game, 10.0), 3);
    EXPECT_EQ(GameOutput(game), "");
}

} // namespace
