// A test that runs the real game binary on the test display and waits for what its window shows.
#pragma once

#include "support/Game.h"

#include <X11/keysym.h>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

// Captures are spaced out so that reading the window takes little from the game on a busy machine.
constexpr int CapturePauseMillis = 100;

struct GameTest : ::testing::Test {
    // The overlay's level line (double size, two panel rows high), its snow line, the scene below.
    static Picture LevelLine(const Picture& frame) { return Crop(frame, 0, 20, 406, 44); }
    static Picture SnowLine(const Picture& frame) { return Crop(frame, 0, 64, 406, 22); }
    static Picture Scene(const Picture& frame) { return Crop(frame, 0, 90, 640, 390); }
    void SetUp() override {
        display = OpenDisplay();
        ASSERT_NE(display, nullptr)
            << "the display tests need DISPLAY (the test command starts Xvfb)";
        ASSERT_TRUE(ReadPng(ReferencePath("overlay-level-1"), &overlay));
    }
    void TearDown() override {
        StopGame(game);
        if (display != nullptr) {
            CloseDisplay(display);
        }
    }
    // Waits until a capture of the game's own window satisfies `wanted`; after WAIT_SECONDS (one
    // generous deadline, longer for the sanitized build), or when the game ends first, fails
    // saying `what` did not happen. SDL may replace its window at the start, so the window is
    // looked up again after a failed capture.
    bool Await(const std::string& what, const std::function<bool(const Picture&)>& wanted) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(WAIT_SECONDS);
        const char* failed = "";
        while (IsRunning(game) && std::chrono::steady_clock::now() < deadline) {
            window = window != 0 ? window : GameWindow(display, game.pid);
            const bool captured = window != 0 && CaptureWindow(display, window, &frame);
            if (captured && wanted(frame)) {
                return true;
            }
            failed = window == 0 ? "; no 640 by 480 window of its own is shown"
                     : captured  ? ""
                                 : "; its window cannot be read";
            window = captured ? window : 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(CapturePauseMillis));
        }
        const std::string ended = "; it ended with " + std::to_string(game.exitStatus);
        ADD_FAILURE() << what << " within " << WAIT_SECONDS << " s" << failed
                      << (IsRunning(game) ? "" : ended) << "\n"
                      << GameOutput(game);
        return false;
    }
    // Starts the game and waits for its first frame: " level: 1" and 0 % in the textured overlay.
    bool StartAndAwaitOverlay(const std::string& program, const std::string& folder,
                              const std::vector<std::string>& arguments,
                              const std::vector<std::string>& environment) {
        game = StartGame(program, folder, arguments, environment);
        return Await("the overlay is not drawn", [&](const Picture& shot) {
            return PicturesMatch(LevelLine(shot), LevelLine(overlay)) &&
                   PicturesMatch(SnowLine(shot), SnowLine(overlay));
        });
    }
    // Types the keys that end other games, turns the view with the pointer (proof that later
    // frames ran), then asks the window to close: the game ends with status 0.
    void KeysTurnAndClose() {
        for (KeySym key : {XK_Escape, XK_q, XK_F4, XK_Return}) {
            SetKey(display, window, key, true);
            SetKey(display, window, key, false);
        }
        const Picture still = frame;
        MovePointer(display, window, 600, 240);
        EXPECT_TRUE(Await("the view does not turn", [&](const Picture& shot) {
            return DifferingShare(Scene(shot), Scene(still)) > 0.08;
        })) << "a key may have ended the game";
        MovePointer(display, window, 320, 240);
        RequestClose(display, window);
        EXPECT_EQ(WaitForExit(game, WAIT_SECONDS), 0) << GameOutput(game);
    }
    Display* display = nullptr;
    GameProcess game;
    Window window = 0;
    Picture frame;   // the last capture
    Picture overlay; // the overlay at the start of level 1
};
