// A frame of the loop: its clock, its input poll on the real SDL event queue (behind SDL's
// window-less driver), and the overlay's texts.
#include "app/FrameClock.h"
#include "app/GameMain.h"
#include "app/Input.h"
#include "game/GameState.h"
#include "render/Hud.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(FrameClockTest, TheTimeFactorIsTheFrameLengthInSixtieths) {
    const struct {
        std::uint32_t start, millis;
        float scale;
    } frames[] = {
        {1000, 16, 0.96f}, {1000, 17, 1.02f}, {1000, 33, 1.98f}, {0xFFFFFFF8u, 16, 0.96f}};
    for (const auto& f : frames) {
        GameState.lastTicks = f.start;
        MeasureFrame(f.start + f.millis);
        EXPECT_FLOAT_EQ(FrameTimeScale(), f.scale) << "a counter that wraps still gives the length";
        EXPECT_EQ(GameState.frameMillis, static_cast<std::int32_t>(f.millis));
        EXPECT_EQ(GameState.lastTicks, f.start + f.millis);
    }
    ResetGlobalRecords();
}

// The pixel tests read the overlay at the first and the last level; a level without snow is shown
// for one frame before it is replaced, and reads 0, never "nan".
TEST(HudTextTest, ALevelWithoutSnowReadsNothingGathered) {
    char line[HudTextSize];
    FormatSnowText(line, sizeof line, 0, 0);
    EXPECT_STREQ(line, "  snow collected: 0.000000%");
    FormatSnowText(line, sizeof line, 2491, 2491);
    EXPECT_STREQ(line, "  snow collected: 100.000000%");
}

struct InputTest : ::testing::Test {
    void SetUp() override {
        ResetGlobalRecords();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    void TearDown() override {
        SDL_Quit();
        unsetenv("SDL_VIDEODRIVER");
        ResetGlobalRecords();
    }
};

void Push(Uint8 type, int symbolOrButton = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) {
        event.button.button = static_cast<Uint8>(symbolOrButton);
    } else {
        event.key.keysym.sym = static_cast<SDLKey>(symbolOrButton);
    }
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

TEST_F(InputTest, KeysAndButtonsFollowTheirPhases) {
    // Each step: the events of one poll, then the phase of W, the up arrow and the left button.
    const struct {
        std::vector<std::pair<Uint8, int>> events;
        ButtonState w, up, left;
    } polls[] = {
        {{{SDL_KEYDOWN, SDLK_w}, {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT}},
         ButtonState::Pressed,
         ButtonState::Up,
         ButtonState::Pressed},
        {{}, ButtonState::Held, ButtonState::Up, ButtonState::Held},
        {{{SDL_KEYDOWN, SDLK_w}},
         ButtonState::Pressed,
         ButtonState::Up,
         ButtonState::Held}, // repeated
        {{{SDL_KEYUP, SDLK_w}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT}},
         ButtonState::Up,
         ButtonState::Up,
         ButtonState::Up},
        // Down and up in one poll end up, whatever their order.
        {{{SDL_KEYDOWN, SDLK_UP}, {SDL_KEYUP, SDLK_UP}, {SDL_KEYUP, SDLK_w}, {SDL_KEYDOWN, SDLK_w}},
         ButtonState::Up,
         ButtonState::Up,
         ButtonState::Up},
        // Out of range symbols and buttons are taken and ignored.
        {{{SDL_KEYDOWN, KeyCount},
          {SDL_KEYDOWN, 0xFFFF},
          {SDL_MOUSEBUTTONDOWN, MouseButtonCount},
          {SDL_MOUSEBUTTONDOWN, 255}},
         ButtonState::Up,
         ButtonState::Up,
         ButtonState::Up},
    };
    for (const auto& poll : polls) {
        for (const auto& [type, which] : poll.events) {
            Push(type, which);
        }
        PollInput();
        EXPECT_EQ(InputState.keys[SDLK_w], poll.w) << &poll - polls;
        EXPECT_EQ(InputState.keys[SDLK_UP], poll.up) << &poll - polls;
        EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_LEFT], poll.left) << &poll - polls;
        SDL_Event left;
        EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0) << "all were taken";
    }
    InputState.keys[SDLK_s] = ButtonState::Held;
    EXPECT_TRUE(EitherDown(SDLK_DOWN, SDLK_s));
    EXPECT_FALSE(EitherDown(SDLK_UP, SDLK_w));
}

// The input poll leaves the close request in the queue for the frame's drain, which ends the loop
// after the frame took the keys.
TEST_F(InputTest, ACloseRequestEndsTheLoopAfterItsFrameTookTheKeys) {
    Push(SDL_KEYDOWN, SDLK_ESCAPE);
    RunFrame();
    EXPECT_FALSE(GameState.quitRequested) << "a key never ends the game";
    Push(SDL_KEYDOWN, SDLK_w);
    Push(SDL_QUIT);
    Push(SDL_ACTIVEEVENT);
    RunFrame();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Pressed);
    EXPECT_EQ(InputState.keys[SDLK_ESCAPE], ButtonState::Held);
    EXPECT_TRUE(GameState.quitRequested);
    SDL_Event left;
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0) << "the queue is drained";
}

} // namespace
