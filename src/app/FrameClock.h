// The frame timing: the millisecond tick source, the pacing of the frames and the time factor of
// the simulation.
#pragma once

#include <cstdint>

// Milliseconds of the system's monotonic clock, cut to 32 bits: it wraps after about 49.7 days,
// and only the difference between two readings is used.
std::uint32_t ReadTickCount();

// Where the frame loop reads its ticks and waits out an early frame: the system's clock and a
// sleep, unless a test drives a clock of its own.
struct TickSource {
    std::uint32_t (*readTicks)();
    void (*wait)(std::uint32_t millis);
};

extern TickSource FrameTicks;

// Takes the tick count read at the start of a frame into the frame fields of `GameState`:
// `frameMillis` (correct across the wrap of the counter), `lastTicks` and `framesPerSecond`.
void MeasureFrame(std::uint32_t ticks);

// The milliseconds a frame that would begin at `ticks` must still wait: none once 8 ms have
// passed since the last frame began, else until 9 ms have, the first whole millisecond past
// 1/120 s. The update step is made for frames of at least half a sixtieth; at 120 frames per
// second and below no frame waits.
std::uint32_t FrameWaitMillis(std::uint32_t ticks);

// Waits, on `FrameTicks`, until the next frame may begin.
void PaceFrame();

// The length of the last frame in sixtieths of a second, unbounded: 60 / `framesPerSecond`.
float FrameTimeScale();
