#include "app/Input.h"
#include "app/GameMain.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The real SDL event queue, behind SDL's window-less video driver: the input poll alone, and whole
// frames of the loop.
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

void Push(Uint8 type, int symbol = 0) {
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
    Push(SDL_KEYDOWN, SDLK_w);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Pressed);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Held);
    Push(SDL_KEYDOWN, SDLK_w); // a repeated down
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Pressed);
    Push(SDL_KEYUP, SDLK_w);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_w], ButtonState::Up);

    // Down and up in one poll end up, whatever their order.
    Push(SDL_KEYDOWN, SDLK_UP);
    Push(SDL_KEYUP, SDLK_UP);
    Push(SDL_KEYUP, SDLK_LEFT);
    Push(SDL_KEYDOWN, SDLK_LEFT);
    PollInput();
    EXPECT_EQ(InputState.keys[SDLK_UP], ButtonState::Up);
    EXPECT_EQ(InputState.keys[SDLK_LEFT], ButtonState::Up);

    // W and the up arrow are separate keys of one direction.
    Push(SDL_KEYDOWN, SDLK_w);
    Push(SDL_KEYDOWN, SDLK_UP);
    PollInput();
    Push(SDL_KEYUP, SDLK_UP);
    PollInput();
    EXPECT_TRUE(EitherDown(SDLK_UP, SDLK_w));
    EXPECT_FALSE(EitherDown(SDLK_DOWN, SDLK_s));
}

TEST_F(InputTest, OutOfRangeEventsAreTakenAndIgnored) {
    const InputTables before = InputState;
    Push(SDL_KEYDOWN, KeyCount);
    Push(SDL_KEYDOWN, 0xFFFF);
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

TEST_F(InputTest, MouseButtonsAge) {
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP);
    PollInput();
    EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_LEFT], ButtonState::Pressed);
    EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_WHEELUP], ButtonState::Up);
    PollInput();
    EXPECT_EQ(InputState.mouseButtons[SDL_BUTTON_LEFT], ButtonState::Held);
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

TEST_F(InputTest, EachFrameMeasuresFromTheLastOne) {
    RunFrame();
    const std::uint32_t first = GameState.lastTicks;
    EXPECT_EQ(static_cast<std::uint32_t>(GameState.frameMillis), first)
        << "the first frame measures from 0";
    RunFrame();
    EXPECT_EQ(GameState.frameMillis, static_cast<std::int32_t>(GameState.lastTicks - first));
    EXPECT_LT(GameState.frameMillis, 1000);
}

} // namespace
