// A frame of the loop: its clock, its input poll on the real SDL event queue (behind SDL's
// window-less driver).
#include "app/FrameClock.h"
#include "app/GameMain.h"
#include "app/Input.h"
#include "app/Platform.h"
#include "game/GameState.h"
#include "game/Update.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A clock the test drives from here: the loop reads it and waits on it, and each frame moves it on
// by the frame's own length.
constexpr std::uint32_t DrivenStart = 0xFFFFFC00u;
double drivenFrameMillis = 0.0, drivenWaited = 0.0, drivenFrames = 0.0;

std::uint32_t ReadDrivenClock() {
    return DrivenStart +
           static_cast<std::uint32_t>(drivenFrames * drivenFrameMillis + drivenWaited);
}

// Game time over real time through the frame loop at `rate` frames a second on the driven clock,
// which wraps during the run. The game's time is read off the camera, which the pointer away from
// the window's centre turns at a steady rate, first measured over one sixtieth of a second.
double PlaySpeed(double rate) {
    ResetGlobalRecords();
    GameState.snowTotal = 1; // a pile left, so that the level stays
    UpdateGame(1.0f);
    const float turnPerSixtieth = -GameState.yawTarget;
    drivenFrameMillis = 1000.0 / rate;
    drivenWaited = drivenFrames = 0.0;
    GameState.lastTicks = DrivenStart - 16;
    RunFrameLoop([] { // two seconds, or far more frames than that, should none wait
        RunFrame();
        GameState.quitRequested =
            GameState.lastTicks - DrivenStart >= 2000 || ++drivenFrames > 9999;
    });
    const double realMillis = GameState.lastTicks - (DrivenStart - 16);
    return (-GameState.yawTarget / turnPerSixtieth - 1.0) * (1000.0 / 60.0) / realMillis;
}

// Queues an event of `type` for the key symbol or mouse button `which`.
void Push(Uint8 type, int which) {
    SDL_Event event{type};
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) {
        event.button.button = static_cast<Uint8>(which);
    } else {
        event.key.keysym.sym = static_cast<SDLKey>(which);
    }
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

constexpr ButtonState Up = ButtonState::Up;
constexpr ButtonState Held = ButtonState::Held;
constexpr ButtonState Pressed = ButtonState::Pressed;

// Frame by frame, a key or button is pressed in the frame whose poll takes its down event and held
// in the later ones; out of range symbols and buttons are ignored. A key never ends the game; a
// close request ends the loop after its frame took the keys; every event of a frame is taken.
// Play keeps to real time at any frame rate, frames that take no time at all included, and at 120
// frames per second and below the loop never waits.
TEST(FrameTest, KeysFollowTheirPhasesACloseRequestEndsTheLoopAndPlayKeepsToRealTime) {
    const std::string previous = getenv("SDL_VIDEODRIVER") ? getenv("SDL_VIDEODRIVER") : "";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    // Each frame: its events, then the phase of W and of the left button.
    const struct {
        std::vector<std::pair<Uint8, int>> events;
        ButtonState w, left;
    } frames[] = {
        {{{SDL_KEYDOWN, SDLK_w}, {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT}}, Pressed, Pressed},
        {{{SDL_KEYDOWN, SDLK_ESCAPE}}, Held, Held},
        {{{SDL_KEYDOWN, SDLK_w}}, Pressed, Held}, // a repeated down event
        {{{SDL_KEYUP, SDLK_w}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT}}, Up, Up},
        // Down and up in one frame end up, whatever their order.
        {{{SDL_KEYDOWN, SDLK_w}, {SDL_KEYUP, SDLK_w}}, Up, Up},
        {{{SDL_KEYUP, SDLK_w}, {SDL_KEYDOWN, SDLK_w}}, Up, Up},
        {{{SDL_KEYDOWN, KeyCount}, {SDL_KEYDOWN, 0xFFFF}, {SDL_MOUSEBUTTONDOWN, 255}}, Up, Up},
        {{{SDL_KEYDOWN, SDLK_w}, {SDL_QUIT, 0}, {SDL_ACTIVEEVENT, 0}}, Pressed, Up},
    };
    for (const auto& frame : frames) {
        for (const auto& [type, which] : frame.events) {
            Push(type, which);
        }
        RunFrame();
        EXPECT_EQ(InputState.keys[SDLK_w], frame.w) << &frame - frames;
        EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_LEFT], frame.left) << &frame - frames;
        EXPECT_EQ(GameState.quitRequested, &frame == std::end(frames) - 1) << &frame - frames;
        SDL_Event left;
        EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0) << "all were taken";
    }
    const TickSource system = FrameTicks;
    FrameTicks = {ReadDrivenClock, [](std::uint32_t millis) { drivenWaited += millis; }};
    for (const double rate : {30.0, 60.0, 120.0, 240.0, 1000.0, double{INFINITY}}) {
        EXPECT_NEAR(PlaySpeed(rate), 1.0, 0.03) << rate << " frames a second";
        EXPECT_EQ(drivenWaited > 0, rate > 120.0) << rate << " frames a second";
    }
    FrameTicks = system;
    SDL_Quit();
    previous.empty() ? unsetenv("SDL_VIDEODRIVER") : setenv("SDL_VIDEODRIVER", previous.c_str(), 1);
    ResetGlobalRecords();
}

} // namespace
