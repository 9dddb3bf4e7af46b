// What the desktop and the browser builds do differently in the application shell. Each build
// compiles one of PlatformDesktop.cpp and PlatformWeb.cpp, chosen by CMake.
#pragma once

#include <cstdint>

union SDL_Event;

// Takes the oldest queued event of SDL event type `type` (`SDL_KEYDOWN`, ...) into `event`; false
// when there is none (or SDL fails).
bool TakeQueuedEvent(SDL_Event& event, std::uint32_t type);

// The `keys` index of a key symbol of this build's SDL: the SDL 1.2 symbol of the same key, or
// a value of `KeyCount` or more for a key the table does not hold.
unsigned KeyTableIndex(unsigned symbol);

// Runs `frame` until the window's close request has been seen. The desktop loops here; the
// browser hands `frame` to the page's animation timer and never returns.
void RunFrameLoop(void (*frame)());
