// The browser build: Emscripten's SDL for the window and the pointer, the page's own keys, touch
// and pads as key events queued here, and a frame loop that the page's animation timer drives.
#include "app/FrameClock.h"
#include "app/Input.h"
#include "app/Platform.h"
#include "app/Video.h"
#include "game/GameState.h"

#include <SDL.h>
#include <emscripten.h>

namespace {

// Key events the page has queued and the game has not yet taken: a frame takes them all, so a
// few dozen cover any burst of fingers; beyond that the newest are dropped.
constexpr int PageKeyCapacity = 64;

struct PageKeyQueue {
    SDL_Event events[PageKeyCapacity];
    int count;
};

PageKeyQueue PageKeys;

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

// Takes the oldest page key event of `type` out of the queue, keeping the others in order.
bool TakePageKey(SDL_Event& event, std::uint32_t type) {
    for (int k = 0; k < PageKeys.count; ++k) {
        if (PageKeys.events[k].type == type) {
            event = PageKeys.events[k];
            for (int next = k + 1; next < PageKeys.count; ++next) {
                PageKeys.events[next - 1] = PageKeys.events[next];
            }
            --PageKeys.count;
            return true;
        }
    }
    return false;
}

} // namespace

// The page reads the keys itself (by their place on the keyboard, whatever the layout), the
// touch controls and the pads, and queues what they press and release here, as the key events
// of the game's SDL 1.2 key symbols.
extern "C" EMSCRIPTEN_KEEPALIVE void QueueKeyEvent(int symbol, int down) {
    if (PageKeys.count == PageKeyCapacity || symbol < 0 || symbol >= KeyCount) {
        return;
    }
    SDL_Event event = {};
    event.type = down != 0 ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down != 0 ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<decltype(event.key.keysym.sym)>(symbol);
    PageKeys.events[PageKeys.count++] = event;
}

// The page places the pointer in the game's 640 by 480 frame, whatever size the picture is shown
// at: from the mouse, a thumb's drag or a pad's stick, and back at the centre when they let go.
extern "C" EMSCRIPTEN_KEEPALIVE void PlacePointer(int x, int y) {
    EM_ASM(
        {
            Browser.mouseX = $0;
            Browser.mouseY = $1;
        },
        x < 0 ? 0 : (x >= WindowWidth ? WindowWidth - 1 : x),
        y < 0 ? 0 : (y >= WindowHeight ? WindowHeight - 1 : y));
}

// Keys come from the page's queue; the browser's SDL takes a range of event types, not a mask.
bool TakeQueuedEvent(SDL_Event& event, std::uint32_t type) {
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        return TakePageKey(event, type);
    }
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, type, type) > 0;
}

// The page queues the game's own key symbols.
unsigned KeyTableIndex(unsigned symbol) {
    return symbol;
}

// The browser's SDL reads the pointer as (0, 0) until its first event, which would turn the
// camera by itself: until the page reports it, the pointer rests at the centre.
void RunFrameLoop(void (*frame)()) {
    PlacePointer(WindowWidth / 2, WindowHeight / 2);
    runFrame = frame;
    emscripten_set_main_loop(RunBrowserFrame, 0, 1);
}
