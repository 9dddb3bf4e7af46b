#include "Canvas.h"

#include <cmath>

CanvasRecord Canvas;

namespace {

std::uint8_t ToByte(float channel) {
    float clamped = channel < 0.0f ? 0.0f : (channel > 1.0f ? 1.0f : channel);
    return static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
}

} // namespace

void PutPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= AtlasSide || y >= AtlasSide) {
        return;
    }
    std::uint8_t* pixel = Canvas.rgb + (static_cast<std::size_t>(y) * AtlasSide + x) * 3;
    pixel[0] = ToByte(colour.r);
    pixel[1] = ToByte(colour.g);
    pixel[2] = ToByte(colour.b);
}

void FillPixels(int x0, int y0, int x1, int y1, Colour colour) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            PutPixel(x, y, colour);
        }
    }
}

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Scale(Colour c, float factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

float SmoothStep(float edge0, float edge1, float x) {
    float t = (x - edge0) / (edge1 - edge0);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

float Hash(std::int32_t x, std::int32_t y, std::int32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^
                      static_cast<std::uint32_t>(y) * 0xd8163841u ^
                      static_cast<std::uint32_t>(seed) * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffffffu) / 16777215.0f;
}

float PeriodicNoise(float x, float y, std::int32_t period, std::int32_t seed) {
    float fx = std::floor(x);
    float fy = std::floor(y);
    float tx = SmoothStep(0.0f, 1.0f, x - fx);
    float ty = SmoothStep(0.0f, 1.0f, y - fy);
    auto wrap = [period](float v) {
        std::int32_t i = static_cast<std::int32_t>(v) % period;
        return i < 0 ? i + period : i;
    };
    std::int32_t x0 = wrap(fx);
    std::int32_t y0 = wrap(fy);
    std::int32_t x1 = (x0 + 1) % period;
    std::int32_t y1 = (y0 + 1) % period;
    float top = Hash(x0, y0, seed) + (Hash(x1, y0, seed) - Hash(x0, y0, seed)) * tx;
    float bottom = Hash(x0, y1, seed) + (Hash(x1, y1, seed) - Hash(x0, y1, seed)) * tx;
    return top + (bottom - top) * ty;
}
