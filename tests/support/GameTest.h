// A test that runs the real game binary on the test display.
#pragma once

#include "support/GameProcess.h"

#include <X11/keysym.h>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

// The caption of the game's window.
inline const char* const GameCaption = "SDL/OpenGL Sample";

struct GameTest : ::testing::Test {
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
    // Types the keys that end other games, sees the game run on, then asks its window to close:
    // the game must end with status 0 within a second and leave no window behind.
    void CheckKeysThenClose(Window window) {
        for (KeySym key : {XK_Escape, XK_q, XK_w, XK_F4, XK_Return}) {
            TypeKey(display, window, key);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ASSERT_TRUE(IsRunning(game)) << "the game ended on a key press";

        const auto asked = std::chrono::steady_clock::now();
        RequestClose(display, window);
        EXPECT_EQ(WaitForExit(game, 5.0), 0) << GameOutput(game);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        EXPECT_LT(seconds, 1.0);
        EXPECT_EQ(FindWindow(display, GameCaption, 0.2), 0u);
    }
    Display* display = nullptr;
    GameProcess game;
};
