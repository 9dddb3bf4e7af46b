#include "app/Input.h"

#include "app/Platform.h"

#include <SDL.h>
#include <cstdint>
#include <cstring>

InputTables InputState;

namespace {

template <int Count> void Age(ButtonState (&table)[Count]) {
    for (ButtonState& state : table) {
        if (state != ButtonState::Up) {
            state = ButtonState::Held;
        }
    }
}

// Takes every queued event of one kind and gives the index it names to `apply`.
template <typename Apply> void TakeEvents(std::uint32_t type, Apply apply) {
    SDL_Event event;
    while (TakeQueuedEvent(event, type)) {
        apply(event);
    }
}

template <int Count> void SetPhase(ButtonState (&table)[Count], unsigned index, ButtonState phase) {
    if (index < static_cast<unsigned>(Count)) {
        table[index] = phase;
    }
}

// The `keys` index of an event's key symbol, read as a plain number: the event may carry a value
// that is not one of SDL's named keys, and such a value must be ignored, not loaded as the enum.
unsigned KeyIndex(const SDL_Event& event) {
    static_assert(sizeof event.key.keysym.sym == sizeof(std::uint32_t), "SDLKey is 32 bits");
    std::uint32_t symbol = 0;
    std::memcpy(&symbol, &event.key.keysym.sym, sizeof symbol);
    return KeyTableIndex(symbol);
}

} // namespace

void PollInput() {
    Age(InputState.keys);
    TakeEvents(SDL_KEYDOWN, [](const SDL_Event& event) {
        SetPhase(InputState.keys, KeyIndex(event), ButtonState::Pressed);
    });
    TakeEvents(SDL_KEYUP, [](const SDL_Event& event) {
        SetPhase(InputState.keys, KeyIndex(event), ButtonState::Up);
    });
    Age(InputState.mouseButtons);
    TakeEvents(SDL_MOUSEBUTTONDOWN, [](const SDL_Event& event) {
        SetPhase(InputState.mouseButtons, event.button.button, ButtonState::Pressed);
    });
    TakeEvents(SDL_MOUSEBUTTONUP, [](const SDL_Event& event) {
        SetPhase(InputState.mouseButtons, event.button.button, ButtonState::Up);
    });
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    InputState.mouseX = x;
    InputState.mouseY = y;
}
