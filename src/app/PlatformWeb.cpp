// The browser build: Emscripten's SDL, with its own event types and key symbols, and a frame
// loop that the page's animation timer drives.
#include "app/Input.h"
#include "app/Platform.h"
#include "app/Video.h"
#include "game/GameState.h"

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

void RunBrowserFrame() {
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
