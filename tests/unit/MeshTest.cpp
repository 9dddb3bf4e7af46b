// The authored figure as the shape table gives it: the body rings and the bounds of both forms.
#include "assets/Meshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>

constexpr int BodyTriangles = 372;

// Expects the lowest x, y, z and then the highest of the mesh's vertices, to 1e-3.
static void ExpectBounds(const Mesh& mesh, const float (&want)[6]) {
    float got[6] = {FLT_MAX, FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX, -FLT_MAX};
    for (int i = 0; i < mesh.vertexCount * 3; ++i) {
        got[i % 3] = std::fmin(got[i % 3], mesh.positions[i]);
        got[3 + i % 3] = std::fmax(got[3 + i % 3], mesh.positions[i]);
    }
    for (int k = 0; k < 6; ++k) {
        EXPECT_NEAR(got[k], want[k], 1e-3f) << (k < 3 ? "low " : "high ") << "xyz"[k % 3];
    }
}

// The body's rings from the bottom up: height and radius of the small form, then the ranges of
// height and radius the large form's lumpier rings keep within.
struct BodyRing {
    float height, radius, heightLow, heightHigh, radiusLow, radiusHigh;
};
constexpr BodyRing BodyRings[] = {{0, 0, 0, 0, 0, 0},
                                  {0, 7.472f, 0, 0, 57.813f, 63.166f},
                                  {2.446f, 8.875f, 26.525f, 26.605f, 85.095f, 85.127f},
                                  {5.764f, 9.606f, 53.523f, 53.526f, 91.899f, 91.899f},
                                  {9.081f, 8.875f, 81.126f, 81.479f, 84.543f, 84.730f},
                                  {11.894f, 6.792f, 102.805f, 106.307f, 61.146f, 66.276f},
                                  {12.841f, 5.227f, 81.053f, 99.188f, 38.537f, 48.848f},
                                  {14.560f, 6.626f, 91.677f, 92.291f, 69.498f, 69.835f},
                                  {17.037f, 7.172f, 115.447f, 115.447f, 75.837f, 75.837f},
                                  {19.514f, 6.626f, 138.474f, 138.821f, 69.723f, 69.906f},
                                  {21.614f, 5.072f, 156.166f, 160.018f, 48.901f, 55.022f},
                                  {22.343f, 3.924f, 140.088f, 150.033f, 29.051f, 31.121f},
                                  {23.289f, 4.876f, 138.867f, 139.826f, 57.413f, 58.027f},
                                  {25.111f, 5.278f, 159.823f, 159.823f, 63.335f, 63.335f},
                                  {26.934f, 4.876f, 179.351f, 179.717f, 58.128f, 58.324f},
                                  {28.480f, 3.732f, 195.536f, 195.947f, 43.824f, 44.351f},
                                  {29.512f, 2.020f, 206.126f, 206.126f, 23.895f, 23.895f},
                                  {29.802f, 0, 209.412f, 209.412f, 0, 0}};

// Every body ring of both forms within its row of the table, and both forms within their bounds.
TEST(AuthoredMeshes, BodyRingsAndBounds) {
    constexpr float Near = 1e-3f;
    auto within = [](float value, float low, float high) {
        return value >= low - Near && value <= high + Near;
    };
    int onRing[std::size(BodyRings)] = {};
    for (int i = 0; i < BodyTriangles * 3; ++i) {
        const float* s = FigureSmall.positions + i * 3;
        const float* l = FigureLarge.positions + i * 3;
        const float smallRadius = std::hypot(s[0], s[2]), largeRadius = std::hypot(l[0], l[2]);
        const BodyRing* ring =
            std::find_if(std::begin(BodyRings), std::end(BodyRings), [&](auto& r) {
                return within(s[1], r.height, r.height) && within(smallRadius, r.radius, r.radius);
            });
        ASSERT_NE(ring, std::end(BodyRings)) << "small vertex " << i << " on no ring";
        ++onRing[ring - BodyRings];
        ASSERT_TRUE(within(l[1], ring->heightLow, ring->heightHigh) &&
                    within(largeRadius, ring->radiusLow, ring->radiusHigh))
            << "large vertex " << i << " off ring " << ring - BodyRings << ": height " << l[1]
            << ", radius " << largeRadius;
    }
    EXPECT_EQ(std::count(std::begin(onRing), std::end(onRing), 0), 0);
    ExpectBounds(FigureSmall, {-10.606f, -1.0f, -13.993f, 15.535f, 34.621f, 18.257f});
    ExpectBounds(FigureLarge, {-94.899f, -3.0f, -94.899f, 94.899f, 212.412f, 94.899f});
}
