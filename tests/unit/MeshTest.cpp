#include "MeshSnapshot.h"
#include "assets/Meshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>

namespace {
constexpr int BodyTriangles = 372;
constexpr int FigureSolidTriangles = 444;
constexpr int TreeSolidTriangles = 74;

Vector3 Sub(Vector3 a, Vector3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float Dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
float Length(Vector3 a) {
    return std::sqrt(Dot(a, a));
}
Vector3 Cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 At(const Mesh& mesh, int vertex) {
    const float* p = mesh.positions + vertex * 3;
    return {p[0], p[1], p[2]};
}

// The figure at ball size s, as the renderer blends it.
Vector3 Blended(int vertex, float s) {
    const Vector3 a = At(FigureSmall, vertex);
    const Vector3 b = At(FigureLarge, vertex);
    return {a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s, a.z + (b.z - a.z) * s};
}

// Twice the area along the front side of triangle t: the counter-clockwise side.
Vector3 FrontNormal(Vector3 a, Vector3 b, Vector3 c) {
    return Cross(Sub(b, a), Sub(c, a));
}
Vector3 FrontNormal(const Mesh& mesh, int t) {
    return FrontNormal(At(mesh, t * 3), At(mesh, t * 3 + 1), At(mesh, t * 3 + 2));
}
Vector3 Centre(const Mesh& mesh, int t) {
    const Vector3 a = At(mesh, t * 3), b = At(mesh, t * 3 + 1), c = At(mesh, t * 3 + 2);
    return {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
}
// Away from the vertical axis at the triangle's centre.
float Outwardness(Vector3 normal, Vector3 centre) {
    return Dot(normal, {centre.x, 0.0f, centre.z}) / Length(normal);
}

struct Bounds {
    Vector3 low;
    Vector3 high;
};
Bounds BoundsOf(const Mesh& mesh) {
    Bounds b = {{FLT_MAX, FLT_MAX, FLT_MAX}, {-FLT_MAX, -FLT_MAX, -FLT_MAX}};
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const Vector3 p = At(mesh, i);
        b.low = {std::fmin(b.low.x, p.x), std::fmin(b.low.y, p.y), std::fmin(b.low.z, p.z)};
        b.high = {std::fmax(b.high.x, p.x), std::fmax(b.high.y, p.y), std::fmax(b.high.z, p.z)};
    }
    return b;
}
void ExpectBounds(const Mesh& mesh, Bounds want, float tolerance) {
    const Bounds got = BoundsOf(mesh);
    EXPECT_NEAR(got.low.x, want.low.x, tolerance);
    EXPECT_NEAR(got.low.y, want.low.y, tolerance);
    EXPECT_NEAR(got.low.z, want.low.z, tolerance);
    EXPECT_NEAR(got.high.x, want.high.x, tolerance);
    EXPECT_NEAR(got.high.y, want.high.y, tolerance);
    EXPECT_NEAR(got.high.z, want.high.z, tolerance);
}

// The shell repeats the first `solid` triangles reversed, each vertex `distance` further out,
// all sampling the one outline patch.
void ExpectShell(const Mesh& mesh, int solid, float distance, const float patch[4]) {
    const int first = solid * 3;
    for (int t = 0; t < solid; ++t) {
        for (int k = 0; k < 3; ++k) {
            const int shell = first + t * 3 + k;
            const int source = t * 3 + 2 - k;
            ASSERT_NEAR(Length(Sub(At(mesh, shell), At(mesh, source))), distance, 1e-4f) << shell;
            const float* uv = mesh.texCoords + shell * 2;
            ASSERT_TRUE(uv[0] >= patch[0] && uv[0] <= patch[1] && uv[1] >= patch[2] &&
                        uv[1] <= patch[3])
                << shell;
        }
        ASSERT_LT(Dot(FrontNormal(mesh, solid + t), FrontNormal(mesh, t)), 0.0f) << t;
    }
}
} // namespace

// The outline shells, and texture coordinates that keep off the edges of each mesh's atlas cell.
TEST(AuthoredMeshes, ShellsAndTextureMargins) {
    const float figurePatch[4] = {0.1337f, 0.1484f, 0.9688f, 0.9838f};
    const float treePatch[4] = {0.7930f, 0.8555f, 0.9102f, 0.9375f};
    ExpectShell(FigureSmall, FigureSolidTriangles, 1.0f, figurePatch);
    ExpectShell(FigureLarge, FigureSolidTriangles, 3.0f, figurePatch);
    ExpectShell(FirTree, TreeSolidTriangles, 3.0f, treePatch);

    for (const Mesh* mesh : {&FloorTile, &SnowPile, &FigureSmall, &FigureLarge, &FirTree}) {
        const float margin = mesh == &FloorTile ? 0.025f : 0.01f;
        for (int i = 0; i < mesh->vertexCount; ++i) {
            const float* uv = mesh->texCoords + i * 2;
            ASSERT_TRUE(uv[0] >= margin && uv[0] <= 1 - margin && uv[1] >= margin &&
                        uv[1] <= 1 - margin)
                << i;
        }
    }
}

TEST(AuthoredMeshes, FrontFacesPointOutOfEveryBodyAndTree) {
    for (const Mesh* figure : {&FigureSmall, &FigureLarge}) {
        // The rest of the body is checked at every size by the blend test below.
        for (int t = 0; t < BodyTriangles; ++t) {
            if (Centre(*figure, t).y == 0.0f) {
                ASSERT_LT(FrontNormal(*figure, t).y, 0.0f) << "base " << t; // faces the ground
            }
        }
        // Eyes, nose and stick pieces are convex: they face away from their own middle.
        const int pieces[][2] = {{372, 4},  {376, 4},  {380, 4},  {384, 10}, {394, 10},
                                 {404, 10}, {414, 10}, {424, 10}, {434, 10}};
        for (const auto& piece : pieces) {
            Vector3 middle = {0, 0, 0};
            for (int i = piece[0] * 3; i < (piece[0] + piece[1]) * 3; ++i) {
                const Vector3 p = At(*figure, i);
                middle = {middle.x + p.x, middle.y + p.y, middle.z + p.z};
            }
            const float count = static_cast<float>(piece[1] * 3);
            middle = {middle.x / count, middle.y / count, middle.z / count};
            for (int t = piece[0]; t < piece[0] + piece[1]; ++t) {
                ASSERT_GT(Dot(FrontNormal(*figure, t), Sub(Centre(*figure, t), middle)), 0.0f) << t;
            }
        }
    }
    for (int t = 0; t < TreeSolidTriangles; ++t) {
        const Vector3 n = FrontNormal(FirTree, t);
        const int cone = (t - 10) % 16;
        const bool facesDown = t == 8 || t == 9 || (t >= 10 && cone < 8);
        if (facesDown) {
            ASSERT_LT(n.y, 0.0f) << "tree " << t; // the trunk's foot and the cones' undersides
        } else {
            ASSERT_GT(Outwardness(n, Centre(FirTree, t)), 0.0f) << "tree " << t;
            ASSERT_GE(n.y, t < 8 ? 0.0f : 1e-3f) << "tree " << t;
        }
    }
    EXPECT_GT(FrontNormal(FloorTile, 0).y, 0.0f);
    EXPECT_GT(FrontNormal(FloorTile, 1).y, 0.0f);
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

TEST(AuthoredMeshes, BodyRingsAndBounds) {
    constexpr float Near = 1e-3f;
    auto within = [](float value, float low, float high) {
        return value >= low - Near && value <= high + Near;
    };
    int onRing[std::size(BodyRings)] = {};
    for (int i = 0; i < BodyTriangles * 3; ++i) {
        const Vector3 s = At(FigureSmall, i), l = At(FigureLarge, i);
        const float smallRadius = std::hypot(s.x, s.z), largeRadius = std::hypot(l.x, l.z);
        const BodyRing* ring =
            std::find_if(std::begin(BodyRings), std::end(BodyRings), [&](auto& r) {
                return within(s.y, r.height, r.height) && within(smallRadius, r.radius, r.radius);
            });
        ASSERT_NE(ring, std::end(BodyRings)) << "small vertex " << i << " on no ring";
        ++onRing[ring - BodyRings];
        ASSERT_TRUE(within(l.y, ring->heightLow, ring->heightHigh) &&
                    within(largeRadius, ring->radiusLow, ring->radiusHigh))
            << "large vertex " << i << " off ring " << ring - BodyRings << ": height " << l.y
            << ", radius " << largeRadius;
    }
    EXPECT_EQ(std::count(std::begin(onRing), std::end(onRing), 0), 0);
    ExpectBounds(FigureSmall, {{-10.606f, -1.0f, -13.993f}, {15.535f, 34.621f, 18.257f}}, Near);
    ExpectBounds(FigureLarge, {{-94.899f, -3.0f, -94.899f}, {94.899f, 212.412f, 94.899f}}, Near);
    ExpectBounds(FirTree, {{-34.384f, -1.237f, -34.384f}, {34.384f, 80.941f, 34.384f}}, 0.1f);
    ExpectBounds(SnowPile, {{-13.226f, 0.0f, -13.226f}, {13.226f, 5.0f, 13.226f}}, Near);
}

// Every size the figure can have is a clean surface: no triangle collapses or turns over.
TEST(AuthoredMeshes, EveryBlendOfTheFiguresIsClean) {
    constexpr int Steps = 40;
    constexpr float SmallestArea = 0.05f; // model units squared; the smallest is about 0.3
    for (int step = 0; step <= Steps; ++step) {
        const float s = static_cast<float>(step) / Steps;
        for (int t = 0; t < FigureVertices / 3; ++t) {
            const Vector3 a = Blended(t * 3, s), b = Blended(t * 3 + 1, s),
                          c = Blended(t * 3 + 2, s);
            const Vector3 n = FrontNormal(a, b, c);
            ASSERT_GT(Length(n) * 0.5f, SmallestArea) << "triangle " << t << " at size " << s;
            const Vector3 n0 = FrontNormal(FigureSmall, t);
            ASSERT_GT(Dot(n, n0) / (Length(n) * Length(n0)), 0.2f)
                << "triangle " << t << " at size " << s;
            const Vector3 centre = {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3,
                                    (a.z + b.z + c.z) / 3};
            // Where the large form's balls overlap, its waist and neck fold in, hidden inside the
            // balls; the rest of the body faces out at every size.
            const bool foldsIn =
                Outwardness(FrontNormal(FigureLarge, t), Centre(FigureLarge, t)) < 0;
            if (t < BodyTriangles && centre.y > 0.0f && !foldsIn) {
                ASSERT_GT(Outwardness(n, centre), 0.0f) << "triangle " << t << " at size " << s;
            }
        }
    }
}

namespace {
// The meshes prepared in place, put back to their authored values afterwards.
struct PreparedMeshes : testing::Test {
    MeshSnapshot authored;
    void SetUp() override { PrepareMeshes(); }
};

void ExpectTexRange(const Mesh& mesh, float uLow, float uHigh, float vLow, float vHigh) {
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const float u = mesh.texCoords[i * 2], v = mesh.texCoords[i * 2 + 1];
        ASSERT_TRUE(u >= uLow && u <= uHigh && v >= vLow && v <= vHigh)
            << i << ": " << u << ", " << v;
    }
}
} // namespace

TEST_F(PreparedMeshes, WorldSizesAndAtlasCells) {
    ExpectBounds(FloorTile, {{-2.5f, 0.0f, -2.5f}, {2.5f, 0.0f, 2.5f}}, 1e-6f);
    ExpectTexRange(FloorTile, 0.00625f, 0.24375f, 0.00625f, 0.24375f);
    EXPECT_FLOAT_EQ(FloorTile.texCoords[0], 0.00625f);
    EXPECT_FLOAT_EQ(FloorTile.texCoords[2], 0.24375f);
    EXPECT_NEAR(BoundsOf(SnowPile).high.y, 0.75f, 1e-6f);
    ExpectTexRange(SnowPile, 0.2525f, 0.4971f, 0.0025f, 0.2475f);
    ExpectTexRange(FigureSmall, 0.5025f, 0.7463f, 0.0f, 0.2475f);
    ExpectTexRange(FigureLarge, 0.5025f, 0.7463f, 0.0f, 0.2475f);
    ExpectTexRange(FirTree, 0.7525f, 0.9975f, 0.0f, 0.2475f);
    // The body alone, without its outline: 2.98 world units tall small, 20.94 large.
    float smallTop = 0, largeTop = 0;
    for (int i = 0; i < BodyTriangles * 3; ++i) {
        smallTop = std::fmax(smallTop, At(FigureSmall, i).y);
        largeTop = std::fmax(largeTop, At(FigureLarge, i).y);
    }
    EXPECT_NEAR(smallTop, 2.98f, 0.01f);
    EXPECT_NEAR(largeTop, 20.94f, 0.01f);
    // The blend target's coordinates move like the drawn form's; its normals stay as authored.
    for (int i = 0; i < FigureSolidTriangles * 3 * 2; ++i) {
        ASSERT_EQ(FigureSmall.texCoords[i], FigureLarge.texCoords[i]) << i;
    }
    const MeshSnapshot::Saved& large = authored.saved[3];
    for (int i = 0; i < FigureVertices * 3; ++i) {
        ASSERT_EQ(FigureLarge.normals[i], large.normals[i]) << i;
    }
}
