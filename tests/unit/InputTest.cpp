#include "app/Input.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The real SDL event queue, behind SDL's window-less video driver.
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

void PushKey(Uint8 type, int symbol) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = static_cast<SDLKey>(symbol);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushButton(Uint8 type, Uint8 button) {
    SDL_Event event{};
    event.type = type;
    event.button.type = type;
    event.button.button = button;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

TEST_F(InputTest, KeysFollowThePhaseTable) {
    PushKey(SDL_KEYDOWN, SDLK_w);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Pressed);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Held);
    PushKey(SDL_KEYDOWN, SDLK_w); // a repeated down
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Pressed);
    PushKey(SDL_KEYUP, SDLK_w);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Up);

    // Down and up in one poll end up, whatever their order.
    PushKey(SDL_KEYDOWN, SDLK_UP);
    PushKey(SDL_KEYUP, SDLK_UP);
    PushKey(SDL_KEYUP, SDLK_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_UP], ButtonState::Up);
    EXPECT_EQ(InputState.keys[SDLK_LEFT], ButtonState::Up);

    // W and the up arrow are separate keys of one direction.
    PushKey(SDL_KEYDOWN, SDLK_w);
    PushKey(SDL_KEYDOWN, SDLK_UP);
    PollInput();
    PushKey(SDL_KEYUP, SDLK_UP);
    PollInput();
    EXPECT_TRUE(EitherDown(SDLK_UP, SDLK_w));
    EXPECT_FALSE(EitherDown(SDLK_DOWN, SDLK_s));
}

TEST_F(InputTest, OutOfRangeEventsAreTakenAndIgnored) {
    const InputTables before = InputState;
    PushKey(SDL_KEYDOWN, KeyCount);
    PushKey(SDL_KEYDOWN, 0xFFFF);
    PushButton(SDL_MOUSEBUTTONDOWN, MouseButtonCount);
    PushButton(SDL_MOUSEBUTTONDOWN, 255);
    PollInput();
    for (int k = 0; k < KeyCount; ++k) {
        EXPECT_EQ(InputState.keys[k], before.keys[k]);
    }
    for (int b = 0; b < MouseButtonCount; ++b) {
        EXPECT_EQ(InputState.mouseButtons[b], ButtonState::Up);
    }
    SDL_Event left;
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0);
}

TEST_F(InputTest, MouseButtonsAgeAndOtherEventsStayQueued) {
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    PollInput();
    EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_LEFT], ButtonState::Pressed);
    EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_WHEELUP], ButtonState::Up);
    PollInput();
    EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_LEFT], ButtonState::Held);
    SDL_Event left;
    ASSERT_EQ(SDL_PeepEvents(&left, 1, SDL_GETEVENT, SDL_ALLEVENTS), 1);
    EXPECT_EQ(left.type, SDL_QUIT);
}

} // namespace
