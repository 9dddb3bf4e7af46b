// The atlas picture being painted, and the colour arithmetic the painters share.
#pragma once

#include <cstdint>

constexpr int AtlasSide = 1024;
constexpr int CellSide = 256;

struct Colour {
    float r;
    float g;
    float b;
};

struct CanvasRecord {
    std::uint8_t rgb[AtlasSide * AtlasSide * 3];
};

extern CanvasRecord Canvas;

// Writes one pixel, each channel clamped to 0..1 and rounded to 8 bits.
void PutPixel(int x, int y, Colour colour);
// Fills a rectangle of pixels, right and bottom edges excluded.
void FillPixels(int x0, int y0, int x1, int y1, Colour colour);

Colour Mix(Colour a, Colour b, float t);
Colour Scale(Colour c, float factor);
// 0 below `edge0`, 1 above `edge1`, a smooth rise between.
float SmoothStep(float edge0, float edge1, float x);
// A repeatable pseudo-random value in 0..1 for an integer lattice point.
float Hash(std::int32_t x, std::int32_t y, std::int32_t seed);
// Smooth value noise in 0..1 that repeats every `period` units in both directions.
float PeriodicNoise(float x, float y, std::int32_t period, std::int32_t seed);
