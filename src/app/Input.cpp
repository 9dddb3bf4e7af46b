#include "app/Input.h"

#include <SDL.h>
#include <cstdint>
#include <cstring>

InputTables InputState;

static_assert(SDLK_LAST <= KeyCount, "the key table must have an entry for every SDL key symbol");

namespace {

template <int Count> void Age(ButtonState (&table)[Count]) {
    for (ButtonState& state : table) {
        if (state != ButtonState::Up) {
            state = ButtonState::Held;
        }
    }
}

// Takes every queued event of one kind and gives the index it names to `apply`.
template <typename Apply> void TakeEvents(Uint32 mask, Apply apply) {
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, mask) > 0) {
        apply(event);
    }
}

template <int Count> void SetPhase(ButtonState (&table)[Count], unsigned index, ButtonState phase) {
    if (index < static_cast<unsigned>(Count)) {
        table[index] = phase;
    }
}

// The key symbol of an event, read as a plain number: the event may carry a value that is not one
// of SDL's named keys, and such a value must be ignored, not loaded as the enum.
unsigned KeySymbol(const SDL_Event& event) {
    static_assert(sizeof event.key.keysym.sym == sizeof(std::uint32_t), "SDLKey is 32 bits");
    std::uint32_t symbol = 0;
    std::memcpy(&symbol, &event.key.keysym.sym, sizeof symbol);
    return symbol;
}

} // namespace

void PollInput() {
    Age(InputState.keys);
    TakeEvents(SDL_KEYDOWNMASK, [](const SDL_Event& event) {
        SetPhase(InputState.keys, KeySymbol(event), ButtonState::Pressed);
    });
    TakeEvents(SDL_KEYUPMASK, [](const SDL_Event& event) {
        SetPhase(InputState.keys, KeySymbol(event), ButtonState::Up);
    });
    Age(InputState.mouseButtons);
    TakeEvents(SDL_MOUSEBUTTONDOWNMASK, [](const SDL_Event& event) {
        SetPhase(InputState.mouseButtons, event.button.button, ButtonState::Pressed);
    });
    TakeEvents(SDL_MOUSEBUTTONUPMASK, [](const SDL_Event& event) {
        SetPhase(InputState.mouseButtons, event.button.button, ButtonState::Up);
    });
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    InputState.mouseX = x;
    InputState.mouseY = y;
}
