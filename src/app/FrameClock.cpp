#include "app/FrameClock.h"

#include "game/GameState.h"

#include <ctime>

namespace {
constexpr double MillisPerSecond = 1000.0;
constexpr double FramesPerSimulationSecond = 60.0;
} // namespace

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

float FrameTimeScale() {
    return static_cast<float>(FramesPerSimulationSecond /
                              static_cast<double>(GameState.framesPerSecond));
}
