// Every surface is shaded here, since the game draws without lighting: a toon look of three tones
// (lit, half-lit, shadow) under one light from above, with thin dark creases.
#include "Surfaces.h"

#include "Canvas.h"

#include <cmath>
#include <iterator>

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr int Supersamples = 4; // per axis, per pixel
// The light: from the azimuth of world (-1, -1), 50 degrees over the horizon.
constexpr float LightX = -0.45452f;
constexpr float LightY = 0.76604f;
constexpr float LightZ = -0.45452f;

constexpr Colour SnowLit = {0.98f, 0.99f, 1.0f};
constexpr Colour SnowHalf = {0.80f, 0.86f, 0.96f};
constexpr Colour SnowShadow = {0.56f, 0.64f, 0.83f};
constexpr Colour Crease = {0.30f, 0.36f, 0.52f};
constexpr Colour FigureOutline = {0.16f, 0.19f, 0.27f};
constexpr Colour TreeOutline = {0.04f, 0.11f, 0.07f};
constexpr Colour Bark = {0.47f, 0.30f, 0.16f};
constexpr Colour BarkDark = {0.22f, 0.13f, 0.07f};

// A painter maps a point of its region, (s, t) in 0..1 from the top-left, to a colour.
using Painter = Colour (*)(float s, float t, int variant);

struct Region {
    float u0;
    float u1;
    float v0;
    float v1;
    Painter paint;
    int variant;
};

// Three tones from a lambert term, with edges narrow enough to stay crisp after supersampling.
float ToonTone(float lambert) {
    return 0.5f * SmoothStep(-0.23f, -0.17f, lambert) + 0.5f * SmoothStep(0.27f, 0.33f, lambert);
}

Colour SnowTone(float tone) {
    return tone < 0.5f ? Mix(SnowShadow, SnowHalf, tone * 2.0f)
                       : Mix(SnowHalf, SnowLit, (tone - 0.5f) * 2.0f);
}

float Lambert(float nx, float ny, float nz) {
    return nx * LightX + ny * LightY + nz * LightZ;
}

// A flat face of a vertical prism or cone side, facing azimuth `azimuth` with slope `up`.
float FacetLambert(float azimuth, float out, float up) {
    return Lambert(out * std::cos(azimuth), up, out * std::sin(azimuth));
}

// The region nearest to a point of the cell: pixels between regions take the nearest edge colour.
const Region& NearestRegion(const Region* regions, int count, float u, float v) {
    int best = 0;
    float bestDistance = 1e9f;
    for (int i = 0; i < count; ++i) {
        float du = std::fmax(std::fmax(regions[i].u0 - u, u - regions[i].u1), 0.0f);
        float dv = std::fmax(std::fmax(regions[i].v0 - v, v - regions[i].v1), 0.0f);
        if (du * du + dv * dv < bestDistance) {
            bestDistance = du * du + dv * dv;
            best = i;
        }
    }
    return regions[best];
}

// One pixel of a region, averaged over a grid of samples clamped into the region.
Colour SamplePixel(const Region& region, int px, int py) {
    Colour sum = {0.0f, 0.0f, 0.0f};
    for (int j = 0; j < Supersamples; ++j) {
        for (int i = 0; i < Supersamples; ++i) {
            float u = (px + (i + 0.5f) / Supersamples) / CellSide;
            float v = (py + (j + 0.5f) / Supersamples) / CellSide;
            float s = (std::fmin(std::fmax(u, region.u0), region.u1) - region.u0) /
                      (region.u1 - region.u0);
            float t = (std::fmin(std::fmax(v, region.v0), region.v1) - region.v0) /
                      (region.v1 - region.v0);
            Colour c = region.paint(s, t, region.variant);
            sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
    }
    return Scale(sum, 1.0f / (Supersamples * Supersamples));
}

// Fills a whole top-row cell from its regions.
void PaintCell(int column, const Region* regions, int count) {
    for (int py = 0; py < CellSide; ++py) {
        for (int px = 0; px < CellSide; ++px) {
            float u = (px + 0.5f) / CellSide;
            float v = (py + 0.5f) / CellSide;
            const Region& region = NearestRegion(regions, count, u, v);
            PutPixel(column * CellSide + px, py, SamplePixel(region, px, py));
        }
    }
}

Colour Solid(float, float, int variant) {
    return variant == 0 ? FigureOutline : TreeOutline;
}

// Trodden snow; repeats across the tile's sampled span so that neighbouring tiles join.
Colour Floor(float s, float t, int) {
    float broad = PeriodicNoise(s * 3.0f, t * 3.0f, 3, 11);
    float fine = PeriodicNoise(s * 12.0f, t * 12.0f, 12, 12);
    float drift = std::sin(2.0f * Pi * (2.0f * s + t) + 3.0f * broad);
    Colour base = {0.84f, 0.89f, 0.96f};
    Colour c = Mix(base, SnowLit, 0.35f * SmoothStep(0.55f, 0.95f, drift));
    c = Mix(c, SnowHalf, 0.45f * SmoothStep(-0.6f, -0.95f, drift));
    return Scale(c, 0.97f + 0.03f * broad + 0.02f * fine);
}

Colour PileTop(float s, float t, int) {
    std::int32_t gx = static_cast<std::int32_t>(s * 120.0f);
    std::int32_t gy = static_cast<std::int32_t>(t * 56.0f);
    float sparkle = Hash(gx, gy, 21);
    Colour c = Mix(SnowLit, SnowHalf, 0.2f * PeriodicNoise(s * 8.0f, t * 4.0f, 64, 22));
    if (sparkle > 0.99f) {
        return {1.0f, 1.0f, 1.0f};
    }
    return sparkle < 0.008f ? Colour{0.78f, 0.90f, 1.0f} : c;
}

// The eight flat sides of the pile, faces toward +x, +x+z, ... in the order of u.
Colour PileSide(float s, float t, int) {
    float facet = std::round(s * 8.0f) * (Pi / 4.0f);
    float tone = (0.3f + 0.7f * ToonTone(FacetLambert(facet, 1.0f, 0.25f))) * (1.0f - 0.4f * t);
    Colour c = SnowTone(tone);
    c = Mix(c, SnowLit, SmoothStep(0.08f, 0.02f, t));
    return Scale(c, 0.97f + 0.03f * PeriodicNoise(s * 40.0f, t * 6.0f, 64, 23));
}

// The small figure's profile, ring by ring from the base centre to the top: height, radius.
constexpr float Rings[18][2] = {
    {0.0f, 0.0f},      {0.0f, 7.472f},    {2.446f, 8.875f},  {5.764f, 9.606f},  {9.081f, 8.875f},
    {11.894f, 6.792f}, {12.841f, 5.227f}, {14.56f, 6.626f},  {17.037f, 7.172f}, {19.514f, 6.626f},
    {21.614f, 5.072f}, {22.343f, 3.924f}, {23.289f, 4.876f}, {25.111f, 5.278f}, {26.934f, 4.876f},
    {28.48f, 3.732f},  {29.512f, 2.02f},  {29.802f, 0.0f}};

// The outward profile normal (radial, up) at ring `r`, from its neighbours.
void RingNormal(int r, float& out, float& up) {
    if (r <= 0 || r >= 17) {
        out = 0.0f;
        up = r <= 0 ? -1.0f : 1.0f;
        return;
    }
    float dh = Rings[r + 1][0] - Rings[r - 1][0];
    float dr = Rings[r + 1][1] - Rings[r - 1][1];
    float length = std::sqrt(dh * dh + dr * dr);
    out = dh / length;
    up = -dr / length;
}

// Distance in model units on the head from (azimuth, ring) to a mark at (markDegrees, markRing),
// taking the head as 5.2 units round and rings as 1.8 units apart.
float HeadDistance(float azimuth, float ring, float markDegrees, float markRing) {
    float turn = azimuth - markDegrees * (Pi / 180.0f);
    turn = turn > Pi ? turn - 2.0f * Pi : (turn < -Pi ? turn + 2.0f * Pi : turn);
    float across = turn * 5.2f;
    float along = (ring - markRing) * 1.8f;
    return std::sqrt(across * across + along * along);
}

// The face painted on the head around azimuth 0: rosy cheeks and a smile of coal.
Colour Face(Colour c, float azimuth, float ring) {
    float blush = std::fmax(SmoothStep(1.3f, 0.4f, HeadDistance(azimuth, ring, 38.0f, 12.7f)),
                            SmoothStep(1.3f, 0.4f, HeadDistance(azimuth, ring, -38.0f, 12.7f)));
    c = Mix(c, Colour{1.0f, 0.6f, 0.66f}, 0.6f * blush);
    float coal = 0.0f;
    for (int dot = -2; dot <= 2; ++dot) {
        float lift = 0.12f * static_cast<float>(dot * dot);
        float d = HeadDistance(azimuth, ring, 11.0f * static_cast<float>(dot), 12.0f + lift);
        coal = std::fmax(coal, SmoothStep(0.5f, 0.32f, d));
    }
    return Mix(c, Colour{0.08f, 0.08f, 0.1f}, coal);
}

// The body of snowballs: azimuth along s, ring index 17 (top) to 0 (base centre) along t.
Colour Body(float s, float t, int) {
    float ring = 17.0f * (1.0f - t);
    int lower = ring >= 17.0f ? 16 : static_cast<int>(ring);
    float blend = ring - lower;
    float out0, up0, out1, up1;
    RingNormal(lower, out0, up0);
    RingNormal(lower + 1, out1, up1);
    float out = out0 + (out1 - out0) * blend;
    float up = up0 + (up1 - up0) * blend;
    float length = std::sqrt(out * out + up * up);
    float azimuth = s * 2.0f * Pi;
    float tone = ToonTone(FacetLambert(azimuth, out / length, up / length));
    Colour c = SnowTone(tone);
    float crease = std::fmax(SmoothStep(0.16f, 0.06f, std::fabs(ring - 6.0f)),
                             SmoothStep(0.16f, 0.06f, std::fabs(ring - 11.0f)));
    float grain = PeriodicNoise(s * 48.0f, t * 24.0f, 48, 31);
    c = Mix(Scale(c, 0.975f + 0.025f * grain), Crease, 0.8f * crease);
    return Face(c, azimuth, ring);
}

// Coal with a small glint.
Colour Eye(float s, float t, int) {
    Colour coal = {0.07f, 0.07f, 0.09f};
    float dx = s - 0.34f;
    float dy = t - 0.32f;
    float glint = SmoothStep(0.16f, 0.11f, std::sqrt(dx * dx + dy * dy));
    return Mix(
        Scale(coal, 0.8f + 0.4f * Hash(static_cast<int>(s * 8), static_cast<int>(t * 8), 41)),
        Colour{0.62f, 0.64f, 0.70f}, glint);
}

// Carrot: from the base at s = 0 to a lighter tip, with faint rings across it.
Colour Nose(float s, float t, int) {
    Colour base = {0.84f, 0.36f, 0.05f};
    Colour tip = {1.0f, 0.64f, 0.28f};
    Colour c = Mix(base, tip, s);
    float ridge = SmoothStep(0.75f, 0.95f, std::sin(s * 2.0f * Pi * 5.0f));
    float side = 1.0f - 0.18f * SmoothStep(0.4f, 0.6f, t);
    return Scale(c, side * (1.0f - 0.15f * ridge));
}

// Bark of a stick: four long sides a quarter each, the first facing up, then round it.
Colour Arm(float s, float t, int) {
    constexpr float SideTones[4] = {1.0f, 0.74f, 0.52f, 0.74f};
    int side = s >= 1.0f ? 3 : static_cast<int>(s * 4.0f);
    float within = s * 4.0f - side;
    float grain = PeriodicNoise(within * 3.0f, t * 24.0f, 96, 51);
    Colour c = Mix(BarkDark, Bark, 0.55f + 0.45f * grain);
    float edge = SmoothStep(0.12f, 0.04f, std::fmin(within, 1.0f - within));
    return Mix(Scale(c, SideTones[side]), BarkDark, 0.6f * edge);
}

// The cone heights of the tree, top cone first: rim radius, rim height, tip height.
constexpr float Cones[4][3] = {{16.069f, 54.456f, 77.941f},
                               {20.086f, 42.322f, 67.044f},
                               {25.107f, 29.55f, 55.572f},
                               {31.384f, 16.105f, 43.497f}};

// A cone side: azimuth along s, tip (t = 0) to rim (t = 1); variant 0 is the top cone.
Colour Cone(float s, float t, int variant) {
    float out = Cones[variant][2] - Cones[variant][1];
    float up = Cones[variant][0];
    float length = std::sqrt(out * out + up * up);
    float facet = (std::floor(s * 8.0f) + 0.5f) * (Pi / 4.0f);
    float tone = ToonTone(FacetLambert(facet, out / length, up / length));
    Colour top = {0.29f - 0.035f * variant, 0.62f - 0.06f * variant, 0.33f - 0.03f * variant};
    Colour green = Scale(top, 1.0f - 0.25f * t);
    Colour shade = {green.r * 0.45f, green.g * 0.55f, green.b * 0.75f};
    Colour c = tone < 0.5f ? Mix(shade, Scale(green, 0.78f), tone * 2.0f)
                           : Mix(Scale(green, 0.78f), green, (tone - 0.5f) * 2.0f);
    float hatch = std::sin(
        2.0f * Pi * (s * 96.0f + t * 6.0f + 0.4f * PeriodicNoise(s * 32.0f, t * 8.0f, 32, 61)));
    c = Scale(c, 0.95f + 0.06f * hatch);
    float line = 0.36f + 0.06f * std::sin(s * 2.0f * Pi * 8.0f + variant) +
                 0.04f * std::sin(s * 2.0f * Pi * 19.0f + 2.0f * variant);
    float snow = SmoothStep(line + 0.015f, line - 0.015f, t);
    c = Mix(c, SnowTone(tone), snow);
    float edge = SmoothStep(0.05f, 0.015f, std::fabs(s * 8.0f - std::round(s * 8.0f)));
    return Mix(c, TreeOutline, 0.3f * edge * (1.0f - snow));
}

Colour ConeUnderside(float s, float t, int) {
    Colour deep = {0.05f, 0.17f, 0.11f};
    return Scale(deep, 0.85f + 0.3f * PeriodicNoise(s * 12.0f, t * 12.0f, 64, 71));
}

// Bark of the trunk: four sides a quarter each, facing +x, +z, -x and -z in turn.
Colour Trunk(float s, float t, int) {
    int side = s >= 1.0f ? 3 : static_cast<int>(s * 4.0f);
    float facing = side == 0 ? 0.0f : (side == 1 ? 0.5f * Pi : (side == 2 ? Pi : 1.5f * Pi));
    float tone = ToonTone(FacetLambert(facing, 1.0f, 0.0f) + 0.3f);
    float within = s * 4.0f - side;
    float grain = PeriodicNoise(within * 5.0f, t * 12.0f, 96, 81);
    Colour c = Mix(BarkDark, Bark, 0.5f + 0.5f * grain);
    c = Scale(c, (0.6f + 0.4f * tone) * (1.0f - 0.3f * t));
    float edge = SmoothStep(0.08f, 0.02f, std::fmin(within, 1.0f - within));
    return Mix(c, BarkDark, 0.5f * edge);
}

} // namespace

void PaintSurfaces() {
    const Region floor[] = {{0.025f, 0.975f, 0.025f, 0.975f, Floor, 0}};
    const Region pile[] = {{0.02f, 0.98f, 0.02f, 0.46f, PileTop, 0},
                           {0.02f, 0.98f, 0.54f, 0.98f, PileSide, 0}};
    const Region figure[] = {{0.02f, 0.62f, 0.02f, 0.86f, Body, 0},
                             {0.70f, 0.78f, 0.04f, 0.12f, Eye, 0},
                             {0.82f, 0.96f, 0.04f, 0.12f, Nose, 0},
                             {0.70f, 0.96f, 0.20f, 0.40f, Arm, 0},
                             {0.10f, 0.20f, 0.94f, 0.99f, Solid, 0}};
    const Region tree[] = {
        {0.02f, 0.62f, 0.02f, 0.20f, Cone, 0},
        {0.02f, 0.62f, 0.23f, 0.41f, Cone, 1},
        {0.02f, 0.62f, 0.44f, 0.62f, Cone, 2},
        {0.02f, 0.62f, 0.65f, 0.83f, Cone, 3},
        {0.66f, 0.96f, 0.02f, 0.40f, ConeUnderside, 0},
        {0.66f, 0.96f, 0.45f, 0.85f, Trunk, 0},
        {0.77f, 0.88f, 0.89f, 0.96f, Solid, 1}};
    PaintCell(0, floor, static_cast<int>(std::size(floor)));
    PaintCell(1, pile, static_cast<int>(std::size(pile)));
    PaintCell(2, figure, static_cast<int>(std::size(figure)));
    PaintCell(3, tree, static_cast<int>(std::size(tree)));
}
