// The overlay: the level number and the share of snow gathered.
#pragma once

#include <cstddef>
#include <cstdint>

// Room for the longest overlay line and its terminating zero.
constexpr std::size_t HudTextSize = 64;

// Draws the overlay over the scene; puts back both matrices and depth testing.
void DrawHud();

// The share of the level's snow gathered, in percent; 0 for a level without snow.
double SnowPercentage(std::int32_t collected, std::int32_t total);
// Writes the level line, " level: <level>", into `out` of `size` bytes.
void FormatLevelText(char* out, std::size_t size, std::int32_t level);
// Writes the snow line, "  snow collected: <percentage>%", into `out` of `size` bytes.
void FormatSnowText(char* out, std::size_t size, std::int32_t collected, std::int32_t total);
