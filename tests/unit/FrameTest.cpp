// A frame of the loop: its clock, its input poll on the real SDL event queue (behind SDL's
// window-less driver).
#include "app/FrameClock.h"
#include "app/GameMain.h"
#include "app/Input.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The time factor is the frame's length in sixtieths of a second, also across the counter's wrap.
TEST(FrameClockTest, TheTimeFactorIsTheFrameLengthInSixtieths) {
    // {ticks at the last frame, milliseconds since, time factor}
    const std::tuple<std::uint32_t, std::uint32_t, float> frames[] = {
        {1000, 16, 0.96f}, {1000, 17, 1.02f}, {1000, 33, 1.98f}, {0xFFFFFFF8u, 16, 0.96f}};
    for (const auto& [start, millis, scale] : frames) {
        GameState.lastTicks = start;
        MeasureFrame(start + millis);
        EXPECT_FLOAT_EQ(FrameTimeScale(), scale) << start << " + " << millis;
    }
    ResetGlobalRecords();
}

// Queues an event of `type` for the key symbol or mouse button `which`.
void Push(Uint8 type, int which) {
    SDL_Event event{};
    event.type = type;
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
TEST(InputTest, KeysAndButtonsFollowTheirPhasesAndACloseRequestEndsTheLoop) {
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
    SDL_Quit();
    previous.empty() ? unsetenv("SDL_VIDEODRIVER") : setenv("SDL_VIDEODRIVER", previous.c_str(), 1);
    ResetGlobalRecords();
}

} // namespace
