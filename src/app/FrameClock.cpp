#include "app/FrameClock.h"

#include "game/GameState.h"

#include <ctime>

namespace {
constexpr double MillisPerSecond = 1000.0;
constexpr double FramesPerSimulationSecond = 60.0;
// A frame this long or longer came late enough at 120 frames per second or fewer; one that came
// sooner is held to the next whole millisecond past 1/120 s, inside the update step's range.
constexpr std::uint32_t ShortestFreeFrameMillis = 8;
constexpr std::uint32_t HeldFrameMillis = 9;

void SleepMillis(std::uint32_t millis) {
    const timespec length{static_cast<time_t>(millis / 1000u),
                          static_cast<long>(millis % 1000u) * 1000000L};
    clock_nanosleep(CLOCK_MONOTONIC, 0, &length, nullptr);
}
} // namespace

TickSource FrameTicks = {ReadTickCount, SleepMillis};

std::uint32_t ReadTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t millis = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(millis);
}

void MeasureFrame(std::uint32_t ticks) {
    GameState.frameMillis = static_cast<std::int32_t>(ticks - GameState.lastTicks);
    GameState.lastTicks = ticks;
    GameState.framesPerSecond =
        static_cast<float>(MillisPerSecond / static_cast<double>(GameState.frameMillis));
}

std::uint32_t FrameWaitMillis(std::uint32_t ticks) {
    const std::uint32_t since = ticks - GameState.lastTicks;
    return since < ShortestFreeFrameMillis ? HeldFrameMillis - since : 0;
}

void PaceFrame() {
    const std::uint32_t wait = FrameWaitMillis(FrameTicks.readTicks());
    if (wait > 0) {
        FrameTicks.wait(wait);
    }
}

float FrameTimeScale() {
    return static_cast<float>(FramesPerSimulationSecond /
                              static_cast<double>(GameState.framesPerSecond));
}
