#include "app/FrameClock.h"
#include "app/Input.h"
#include "app/Platform.h"
#include "game/GameState.h"

#include <SDL.h>

static_assert(KeyUp == SDLK_UP && KeyDown == SDLK_DOWN && KeyLeft == SDLK_LEFT &&
                  KeyRight == SDLK_RIGHT && KeyW == SDLK_w && KeyA == SDLK_a && KeyS == SDLK_s &&
                  KeyD == SDLK_d,
              "the key table is indexed by SDL 1.2 key symbols");
static_assert(SDLK_LAST <= KeyCount, "the key table must have an entry for every SDL key symbol");

bool TakeQueuedEvent(SDL_Event& event, std::uint32_t type) {
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_EVENTMASK(type)) > 0;
}

unsigned KeyTableIndex(unsigned symbol) {
    return symbol;
}

void RunFrameLoop(void (*frame)()) {
    while (!GameState.quitRequested) {
        PaceFrame();
        frame();
    }
}
