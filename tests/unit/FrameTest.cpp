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
#include <tuple>
#include <vector>

namespace {

// The time factor is the frame's length in sixtieths, frame after frame, also across the wrap.
TEST(FrameClockTest, TheTimeFactorIsTheFrameLengthInSixtieths) {
    // {milliseconds since the frame before, time factor}
    const std::pair<std::uint32_t, float> frames[] = {{16, 0.96f}, {17, 1.02f}, {33, 1.98f}};
    GameState.lastTicks = 0xFFFFFFE0u;
    for (const auto& [millis, scale] : frames) {
        const std::uint32_t ticks = GameState.lastTicks + millis;
        MeasureFrame(ticks);
        EXPECT_FLOAT_EQ(FrameTimeScale(), scale) << ticks;
    }
    ResetGlobalRecords();
}

// A clock the test drives: the frame loop reads it and waits on it, and each frame moves it on
// by the frame's own length, until the run's length has passed (or, should frames of no length
// never wait, until far more frames than that length holds).
struct DrivenClock {
    std::uint32_t start;
    double millis;
    double frameMillis;
    double runMillis;
    int waits;
    int frames;
} Driven;

std::uint32_t ReadDrivenTicks() {
    return Driven.start + static_cast<std::uint32_t>(Driven.millis);
}

void WaitOnDrivenClock(std::uint32_t millis) {
    Driven.millis += millis;
    ++Driven.waits;
}

void RunDrivenFrame() {
    RunFrame();
    Driven.millis += Driven.frameMillis;
    GameState.quitRequested = Driven.millis >= Driven.runMillis || ++Driven.frames > 10000;
}

// Sets up SDL's window-less video driver for a test, and puts the player's driver back after.
struct DummyVideo {
    DummyVideo() {
        previous = getenv("SDL_VIDEODRIVER") ? getenv("SDL_VIDEODRIVER") : "";
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        EXPECT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    ~DummyVideo() {
        SDL_Quit();
        previous.empty() ? unsetenv("SDL_VIDEODRIVER")
                         : setenv("SDL_VIDEODRIVER", previous.c_str(), 1);
        ResetGlobalRecords();
    }
    std::string previous;
};

// Through the frame loop, on a driven clock that wraps during the run, the game's time keeps to
// real time at any frame rate, frames that take no time at all included, and at 120 frames per
// second and below the loop never waits. The game's time is read off the camera, which the
// pointer away from the centre turns at a steady rate.
TEST(FrameClockTest, PlayKeepsToRealTimeAtAnyFrameRate) {
    DummyVideo video;
    const TickSource system = FrameTicks;
    FrameTicks = {ReadDrivenTicks, WaitOnDrivenClock};
    GameState.snowTotal = 1; // a pile left, so that the level stays
    PollInput();
    UpdateGame(1.0f);
    const float turnPerSixtieth = -GameState.yawTarget;
    ASSERT_GT(turnPerSixtieth, 0.0f) << "the pointer rests away from the centre";
    for (const double rate : {60.0, 120.0, 240.0, 1000.0, double{INFINITY}}) {
        ResetGlobalRecords();
        GameState.snowTotal = 1;
        Driven = {0xFFFFFC00u, 0.0, 1000.0 / rate, 2000.0, 0, 0};
        GameState.lastTicks = Driven.start - 16;
        RunFrameLoop(RunDrivenFrame);
        const double realMillis = GameState.lastTicks - (Driven.start - 16);
        const double gameMillis = -GameState.yawTarget / turnPerSixtieth * 1000.0 / 60.0;
        EXPECT_GE(realMillis, 2000.0 - 17.0) << rate;
        EXPECT_NEAR(gameMillis / realMillis, 1.0, 0.03) << rate << " frames a second";
        EXPECT_EQ(Driven.waits > 0, rate > 120.0) << rate << " frames a second";
    }
    FrameTicks = system;
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
    DummyVideo video;
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
}

} // namespace
