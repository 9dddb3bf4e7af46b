#include "app/GameMain.h"
#include "app/Input.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// One frame of the loop on SDL's window-less driver: what the frame does with the events that
// wait in the queue.
struct FrameLoopTest : ::testing::Test {
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
    event.key.keysym.sym = static_cast<SDLKey>(symbol);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

TEST_F(FrameLoopTest, ACloseRequestEndsTheLoopAfterItsFrameTookTheKeys) {
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

TEST_F(FrameLoopTest, EachFrameMeasuresFromTheLastOne) {
    RunFrame();
    const std::uint32_t first = GameState.lastTicks;
    EXPECT_EQ(static_cast<std::uint32_t>(GameState.frameMillis), first)
        << "the first frame measures from 0";
    RunFrame();
    EXPECT_EQ(GameState.frameMillis, static_cast<std::int32_t>(GameState.lastTicks - first));
    EXPECT_LT(GameState.frameMillis, 1000);
}

} // namespace
