// The frame timing: the millisecond tick source and the time factor of the simulation.
#pragma once

#include <cstdint>

// Milliseconds of the system's monotonic clock, cut to 32 bits: it wraps after about 49.7 days,
// and only the difference between two readings is used.
std::uint32_t ReadTickCount();

// Takes the tick count read at the start of a frame into the frame fields of `GameState`:
// `frameMillis` (correct across the wrap of the counter), `lastTicks` and `framesPerSecond`.
void MeasureFrame(std::uint32_t ticks);

// The length of the last frame in sixtieths of a second, unbounded: 60 / `framesPerSecond`.
float FrameTimeScale();
