// The browser build: Emscripten's SDL, with its own event types and key symbols, and a frame
// loop that the page's animation timer drives.
#include "app/FrameClock.h"
#include "app/Input.h"
#include "app/Platform.h"
#include "app/Video.h"
#include "game/GameState.h"
#include "render/Font.h"
#include "render/WorldBatch.h"

#include <SDL.h>
#include <emscripten.h>

namespace {

// The browser's SDL gives keys without a character their scancode plus this.
constexpr unsigned ScancodeKeys = 1024;
constexpr unsigned ScancodeRight = 79;
constexpr unsigned ScancodeLeft = 80;
constexpr unsigned ScancodeDown = 81;
constexpr unsigned ScancodeUp = 82;

void (*runFrame)() = nullptr;

// The page's animation frames follow the screen, which may be faster than the game is made for:
// those that come too soon after the last frame are let go by.
void RunBrowserFrame() {
    if (FrameWaitMillis(FrameTicks.readTicks()) > 0) {
        return;
    }
    runFrame();
    if (GameState.quitRequested) {
        emscripten_cancel_main_loop();
    }
}

} // namespace

// The browser's SDL takes a range of event types, not a mask.
bool TakeQueuedEvent(SDL_Event& event, std::uint32_t type) {
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, type, type) > 0;
}

// Characters keep their SDL 1.2 symbols (the lower-case letter); the arrows come as scancodes.
unsigned KeyTableIndex(unsigned symbol) {
    switch (symbol) {
    case ScancodeKeys + ScancodeUp:
        return KeyUp;
    case ScancodeKeys + ScancodeDown:
        return KeyDown;
    case ScancodeKeys + ScancodeLeft:
        return KeyLeft;
    case ScancodeKeys + ScancodeRight:
        return KeyRight;
    default:
        return symbol < ScancodeKeys ? symbol : KeyCount;
    }
}

void DrawPlatformWorld() {
    DrawWorldBatched();
}

void DrawPlatformText(float x, float y, const char* text, float scale) {
    DrawTextBatched(x, y, text, scale);
}

// The browser's SDL reads the pointer as (0, 0) until its first event, which would turn the
// camera by itself: until the page reports it, the pointer rests at the centre.
void RunFrameLoop(void (*frame)()) {
    EM_ASM(
        {
            Browser.mouseX = $0;
            Browser.mouseY = $1;
        },
        WindowWidth / 2, WindowHeight / 2);
    runFrame = frame;
    emscripten_set_main_loop(RunBrowserFrame, 0, 1);
}
