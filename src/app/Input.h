// The phases of the keys and mouse buttons, and the mouse position, refreshed once a frame.
#pragma once

#include <cstdint>

enum class ButtonState : std::uint32_t {
    Up = 0,      // not pressed
    Held = 1,    // pressed before this frame's poll and not released since
    Pressed = 2, // its down event was taken in this frame's poll
};

constexpr int KeyCount = 500;        // every SDL 1.2 key symbol is below this
constexpr int MouseButtonCount = 10; // SDL mouse buttons 1 to 9; entry 0 is never set

// The keys the game reads, by their SDL 1.2 key symbols: `keys` is indexed by these on every
// build, whatever numbers the build's own SDL gives its keys.
constexpr int KeyUp = 273;
constexpr int KeyDown = 274;
constexpr int KeyRight = 275;
constexpr int KeyLeft = 276;
constexpr int KeyA = 'a';
constexpr int KeyD = 'd';
constexpr int KeyS = 's';
constexpr int KeyW = 'w';
static_assert(KeyUp < KeyCount && KeyDown < KeyCount && KeyRight < KeyCount && KeyLeft < KeyCount &&
                  KeyA < KeyCount && KeyD < KeyCount && KeyS < KeyCount && KeyW < KeyCount,
              "every key the game reads has its entry in the key table");

struct InputTables {
    ButtonState keys[KeyCount];                 // indexed by SDL key symbol
    ButtonState mouseButtons[MouseButtonCount]; // indexed by SDL button number
    std::int32_t mouseX;                        // window pixels from the left edge
    std::int32_t mouseY;                        // window pixels from the top edge
};

extern InputTables InputState;

// Takes this frame's key and mouse-button events from SDL's queue (after SDL_PumpEvents) and
// reads the mouse position. Every other event stays queued for the frame loop.
void PollInput();

// True when either key of a pair is down.
inline bool EitherDown(int first, int second) {
    return InputState.keys[first] != ButtonState::Up || InputState.keys[second] != ButtonState::Up;
}
