#include "Shapes.h"

#include <cmath>
#include <utility>

namespace {
constexpr double Pi = 3.14159265358979323846;

Point Add(Point a, Point b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Point Sub(Point a, Point b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point Scale(Point a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
double Dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Point Cross(Point a, Point b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Point Unit(Point a) {
    return Scale(a, 1.0 / std::sqrt(Dot(a, a)));
}
bool Same(Point a, Point b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// A corner of a triangle in both forms of a mesh, with its texture coordinate in the cell.
struct Corner {
    Point small;
    Point large;
    double u;
    double v;
};

Corner Both(Point p, double u, double v) {
    return {p, p, u, v};
}

// Appends a triangle wound so that its front (counter-clockwise side) faces along `outward`,
// judged on the small form; the large form takes the same order.
void Emit(MeshBuild& mesh, Corner a, Corner b, Corner c, Point outward, int part) {
    if (Dot(Cross(Sub(b.small, a.small), Sub(c.small, a.small)), outward) < 0.0) {
        std::swap(b, c);
    }
    for (const Corner& k : {a, b, c}) {
        mesh.small.push_back({k.small, k.u, k.v, {0.0, 1.0, 0.0}, part});
        mesh.large.push_back({k.large, k.u, k.v, {0.0, 1.0, 0.0}, part});
    }
}

Point Centroid(Point a, Point b, Point c) {
    return Scale(Add(Add(a, b), c), 1.0 / 3.0);
}

// Away from the vertical axis at the triangle's centre.
Point Radial(const Corner& a, const Corner& b, const Corner& c) {
    const Point centre = Centroid(a.small, b.small, c.small);
    return {centre.x, 0.0, centre.z};
}

// The normal of every vertex: the area-weighted sum of the faces of its part that touch it.
void SetPartNormals(std::vector<Vertex>& vertices) {
    const size_t count = vertices.size();
    for (size_t i = 0; i < count; ++i) {
        Point sum = {0.0, 0.0, 0.0};
        for (size_t t = 0; t < count; t += 3) {
            const Vertex* tri = &vertices[t];
            if (tri[0].part != vertices[i].part) {
                continue;
            }
            const Point& p = vertices[i].position;
            if (Same(p, tri[0].position) || Same(p, tri[1].position) || Same(p, tri[2].position)) {
                sum = Add(sum, Cross(Sub(tri[1].position, tri[0].position),
                                     Sub(tri[2].position, tri[0].position)));
            }
        }
        vertices[i].normal = Unit(sum);
    }
}

// A texture patch of one flat colour, in cell coordinates.
struct Patch {
    double u0;
    double u1;
    double v0;
    double v1;
};

// Appends the outline shell: every triangle again, reversed, each vertex pushed out along its
// part's normal by `distance`, all sampling the one outline patch.
void AddShell(std::vector<Vertex>& vertices, double distance, Patch patch) {
    SetPartNormals(vertices);
    const size_t count = vertices.size();
    for (size_t t = 0; t < count; t += 3) {
        for (int k = 2; k >= 0; --k) {
            Vertex shell = vertices[t + k];
            shell.position = Add(shell.position, Scale(shell.normal, distance));
            shell.normal = Scale(shell.normal, -1.0);
            shell.u = patch.u0 + (patch.u1 - patch.u0) * shell.u;
            shell.v = patch.v0 + (patch.v1 - patch.v0) * shell.v;
            vertices.push_back(shell);
        }
    }
}

// ---- Figure ----

struct Ring {
    double height;
    double radius;
};

constexpr int BodyRings = 18; // base centre, base rim, rings 1 to 15, top
// The base rim has 6 points where every other ring has 12: the body's 372 triangles need it
// (6 in the base, 18 from the rim to ring 1, 14 bands of 24, 12 in the top; a rim of 12 gives 384).
constexpr int RingPoints[BodyRings] = {1,  6,  12, 12, 12, 12, 12, 12, 12,
                                       12, 12, 12, 12, 12, 12, 12, 12, 1};
constexpr Ring SmallBody[BodyRings] = {
    {0.0, 0.0},      {0.0, 7.472},    {2.446, 8.875},  {5.764, 9.606},  {9.081, 8.875},
    {11.894, 6.792}, {12.841, 5.227}, {14.560, 6.626}, {17.037, 7.172}, {19.514, 6.626},
    {21.614, 5.072}, {22.343, 3.924}, {23.289, 4.876}, {25.111, 5.278}, {26.934, 4.876},
    {28.480, 3.732}, {29.512, 2.020}, {29.802, 0.0}};
// The large form is squat, wide and lumpy: each of its rings wanders between a low and a high
// height and radius from vertex to vertex, and its balls are pressed so far into each other that
// its rings do not rise in order: the waist and the neck sink below the rings beside them, hidden
// inside the balls.
struct RingRange {
    double heightLow;
    double heightHigh;
    double radiusLow;
    double radiusHigh;
};
constexpr RingRange LargeBody[BodyRings] = {{0.0, 0.0, 0.0, 0.0},
                                            {0.0, 0.0, 57.813, 63.166},
                                            {26.525, 26.605, 85.095, 85.127},
                                            {53.523, 53.526, 91.899, 91.899},
                                            {81.126, 81.479, 84.543, 84.730},
                                            {102.805, 106.307, 61.146, 66.276},
                                            {81.053, 99.188, 38.537, 48.848},
                                            {91.677, 92.291, 69.498, 69.835},
                                            {115.447, 115.447, 75.837, 75.837},
                                            {138.474, 138.821, 69.723, 69.906},
                                            {156.166, 160.018, 48.901, 55.022},
                                            {140.088, 150.033, 29.051, 31.121},
                                            {138.867, 139.826, 57.413, 58.027},
                                            {159.823, 159.823, 63.335, 63.335},
                                            {179.351, 179.717, 58.128, 58.324},
                                            {195.536, 195.947, 43.824, 44.351},
                                            {206.126, 206.126, 23.895, 23.895},
                                            {209.412, 209.412, 0.0, 0.0}};

// Where point k of ring r lies between a range's ends, 0 to 1: the height rises and falls twice
// around the ring and the radius three times, each turned by the ring's place, so neighbouring
// rings bulge in different directions and each reaches both ends of its ranges. The waist and the
// neck stay level, at the middle of theirs: a wavy one shows through as a ragged outline between
// the balls while the figure grows.
constexpr int Waist = 6;
constexpr int Neck = 11;
double HeightLump(int r, int k) {
    return r == Waist || r == Neck ? 0.5 : 0.5 + 0.5 * std::cos(Pi / 3.0 * (k + r));
}
double RadiusLump(int r, int k) {
    return r == Waist || r == Neck ? 0.5 : 0.5 + 0.5 * std::cos(Pi / 2.0 * (k + r));
}

constexpr double BodyU0 = 0.02;
constexpr double BodyU1 = 0.62;
constexpr double BodyVBase = 0.86;
constexpr double BodyVTop = 0.02;

Point RingPoint(const Ring& ring, int k, int points) {
    const double angle = 2.0 * Pi * (k % points) / points;
    return {ring.radius * std::cos(angle), ring.height, ring.radius * std::sin(angle)};
}

// Point k of ring r in the large form, moved within the ring's ranges by its lumps.
Point LargeRingPoint(int r, int k, int points) {
    const RingRange& range = LargeBody[r];
    const int at = k % points;
    const Ring ring = {range.heightLow + (range.heightHigh - range.heightLow) * HeightLump(r, at),
                       range.radiusLow + (range.radiusHigh - range.radiusLow) * RadiusLump(r, at)};
    return RingPoint(ring, at, points);
}

// Point k of ring r; k may be `points` to close the ring with the coordinate u at its end.
Corner BodyCorner(int r, double k) {
    const int points = RingPoints[r];
    const int index = static_cast<int>(k);
    const double v = BodyVBase + (BodyVTop - BodyVBase) * r / (BodyRings - 1);
    return {RingPoint(SmallBody[r], index, points), LargeRingPoint(r, index, points),
            BodyU0 + (BodyU1 - BodyU0) * k / points, v};
}

// The pole of ring r, with u at the middle of the segment it closes.
Corner PoleCorner(int r, int k, int points) {
    Corner pole = BodyCorner(r, 0);
    pole.u = BodyU0 + (BodyU1 - BodyU0) * (k + 0.5) / points;
    return pole;
}

// The band between ring `lower` and the ring above it, stitched even when the counts differ.
void ZipRings(MeshBuild& mesh, int lower) {
    const int upper = lower + 1;
    const int nl = RingPoints[lower];
    const int nu = RingPoints[upper];
    if (nl == 1) {
        for (int k = 0; k < nu; ++k) {
            Emit(mesh, PoleCorner(lower, k, nu), BodyCorner(upper, k), BodyCorner(upper, k + 1),
                 {0.0, -1.0, 0.0}, 0);
        }
        return;
    }
    if (nu == 1) {
        for (int k = 0; k < nl; ++k) {
            const Corner a = BodyCorner(lower, k);
            const Corner b = PoleCorner(upper, k, nl);
            const Corner c = BodyCorner(lower, k + 1);
            Emit(mesh, a, b, c, Radial(a, b, c), 0);
        }
        return;
    }
    int i = 0;
    int j = 0;
    while (i < nl || j < nu) {
        const bool advanceUpper = j < nu && (i == nl || (j + 1) * nl < (i + 1) * nu);
        const Corner a = BodyCorner(lower, i);
        const Corner b = BodyCorner(upper, j);
        const Corner c = advanceUpper ? BodyCorner(upper, j + 1) : BodyCorner(lower, i + 1);
        Emit(mesh, a, b, c, Radial(a, b, c), 0);
        (advanceUpper ? j : i) += 1;
    }
}

// A four-sided pyramid open at its base: corners b[0..3] around the base, then the tip.
struct Pyramid {
    Point base[4];
    Point tip;
};

Point BaseCentre(const Pyramid& p) {
    return Scale(Add(Add(p.base[0], p.base[1]), Add(p.base[2], p.base[3])), 0.25);
}

// Where a pyramid's sides sample the cell: the two base corners of each side, then the tip.
struct PyramidLook {
    double baseU0;
    double baseV0;
    double baseU1;
    double baseV1;
    double tipU;
    double tipV;
};

void EmitPyramid(MeshBuild& mesh, const Pyramid& small, const Pyramid& large,
                 const PyramidLook& look, int part) {
    const Point inside = Add(BaseCentre(small), Scale(Sub(small.tip, BaseCentre(small)), 0.25));
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        const Corner a = {small.base[k], large.base[k], look.baseU0, look.baseV0};
        const Corner b = {small.base[n], large.base[n], look.baseU1, look.baseV1};
        const Corner c = {small.tip, large.tip, look.tipU, look.tipV};
        Emit(mesh, a, b, c, Sub(Centroid(a.small, b.small, c.small), inside), part);
    }
}

Pyramid Moved(const Pyramid& p, Point by) {
    Pyramid moved = p;
    for (Point& corner : moved.base) {
        corner = Add(corner, by);
    }
    moved.tip = Add(moved.tip, by);
    return moved;
}

Pyramid Mirrored(const Pyramid& p) {
    Pyramid mirrored = p;
    for (Point& corner : mirrored.base) {
        corner.z = -corner.z;
    }
    mirrored.tip.z = -mirrored.tip.z;
    return mirrored;
}

Pyramid Nose(Point baseCentre, double length) {
    constexpr double HalfDiagonal = 1.5;
    const Point c = baseCentre;
    return {{{c.x, c.y - HalfDiagonal, c.z},
             {c.x, c.y, c.z + HalfDiagonal},
             {c.x, c.y + HalfDiagonal, c.z},
             {c.x, c.y, c.z - HalfDiagonal}},
            {c.x + length, c.y, c.z}};
}

constexpr Pyramid EyeAtPositiveZ = {
    {{4.62, 24.966, 1.537}, {4.647, 26.141, 0.466}, {4.076, 27.149, 1.556}, {4.048, 25.973, 2.628}},
    {5.201, 26.345, 1.768}};
constexpr Point LargeEyeShift = {55.105, 145.534, 1.0};
constexpr PyramidLook EyeLook = {0.70, 0.12, 0.78, 0.12, 0.74, 0.04};
constexpr PyramidLook NoseLook = {0.82, 0.04, 0.82, 0.12, 0.96, 0.08};

void BuildFace(MeshBuild& mesh) {
    const Pyramid eye = EyeAtPositiveZ;
    const Pyramid largeEye = Moved(eye, LargeEyeShift);
    EmitPyramid(mesh, eye, largeEye, EyeLook, 1);
    EmitPyramid(mesh, Mirrored(eye), Mirrored(largeEye), EyeLook, 2);
    EmitPyramid(mesh, Nose({4.535, 25.085, 0.0}, 10.0), Nose({59.061, 169.566, 0.0}, 10.0),
                NoseLook, 3);
}

// A stick piece: a square prism from its inner to its outer end centre, its section rolled a
// little from level so the sticks do not look cut from one board. The rolls of the upper stick at
// positive z and of the outer twig on either side set how far the figure reaches up and sideways.
struct Stick {
    Point smallInner;
    Point smallOuter;
    Point largeInner;
    Point largeOuter;
    double side;
    double roll; // degrees, turning the section about the stick
};

constexpr Stick Sticks[6] = {{{-0.41, 18.01, -4.33},
                              {13.24, 31.38, -10.24},
                              {64.71, 133.98, -12.54},
                              {78.36, 143.98, -23.20},
                              2.12,
                              -25.0},
                             {{9.22, 27.13, -8.61},
                              {13.21, 26.14, -12.42},
                              {74.33, 140.70, -20.04},
                              {78.33, 138.29, -23.16},
                              1.44,
                              -35.5},
                             {{10.30, 28.62, -9.09},
                              {12.27, 32.46, -6.49},
                              {75.41, 141.88, -21.06},
                              {77.38, 146.43, -20.17},
                              1.29,
                              -25.0},
                             {{-0.23, 17.92, 5.01},
                              {8.22, 33.09, 14.93},
                              {65.28, 134.58, 13.06},
                              {78.61, 142.22, 25.88},
                              2.12,
                              -16.1},
                             {{6.61, 30.00, 12.91},
                              {11.67, 29.49, 16.49},
                              {76.00, 140.61, 23.26},
                              {79.83, 137.23, 26.80},
                              1.59,
                              -18.4},
                             {{4.89, 27.31, 11.12},
                              {4.94, 32.75, 9.80},
                              {73.43, 139.37, 20.96},
                              {76.12, 144.27, 20.70},
                              1.43,
                              -25.0}};

constexpr Patch BarkRegion = {0.70, 0.96, 0.20, 0.40};

// The directions across a stick's section: `across` level, `up` toward the sky.
struct StickFrame {
    Point along;
    Point across;
    Point up;
};

StickFrame SmallFrame(const Stick& s) {
    const Point along = Unit(Sub(s.smallOuter, s.smallInner));
    const Point across = Unit(Cross(along, {0.0, 1.0, 0.0}));
    return {along, across, Cross(across, along)};
}

// `v` turned by the smallest rotation that takes unit `from` onto unit `to`.
Point TurnLike(Point v, Point from, Point to) {
    const Point axis = Cross(from, to);
    const double sine = std::sqrt(Dot(axis, axis));
    const double cosine = Dot(from, to);
    if (sine < 1e-12) {
        return v;
    }
    const Point k = Scale(axis, 1.0 / sine);
    return Add(Add(Scale(v, cosine), Scale(Cross(k, v), sine)),
               Scale(k, Dot(k, v) * (1.0 - cosine)));
}

// The large form's stick: the same length and section, turned without twisting, so that the
// blend between the forms never folds it.
StickFrame LargeFrame(const Stick& s, const StickFrame& small) {
    const Point along = Unit(Sub(s.largeOuter, s.largeInner));
    return {along, TurnLike(small.across, small.along, along),
            TurnLike(small.up, small.along, along)};
}

// The section's corners at `centre`: a square whose first side faces up when its roll is 0.
void StickCorners(const StickFrame& frame, const Stick& s, Point centre, Point corners[4]) {
    const double h = s.side * std::sqrt(0.5);
    for (int k = 0; k < 4; ++k) {
        const double angle = s.roll * Pi / 180.0 + Pi * (0.25 + 0.5 * k);
        const Point offset =
            Add(Scale(frame.across, std::cos(angle)), Scale(frame.up, std::sin(angle)));
        corners[k] = Add(centre, Scale(offset, h));
    }
}

// Four long sides, a quarter of the bark region each, and the cap at the outer end.
void EmitStick(MeshBuild& mesh, const Stick& s, int part) {
    const StickFrame smallFrame = SmallFrame(s);
    const StickFrame largeFrame = LargeFrame(s, smallFrame);
    const double length =
        std::sqrt(Dot(Sub(s.smallOuter, s.smallInner), Sub(s.smallOuter, s.smallInner)));
    Point si[4], so[4], li[4], lo[4];
    StickCorners(smallFrame, s, s.smallInner, si);
    StickCorners(smallFrame, s, s.smallOuter, so);
    StickCorners(largeFrame, s, s.largeInner, li);
    StickCorners(largeFrame, s, Add(s.largeInner, Scale(largeFrame.along, length)), lo);
    const Point middle = Scale(Add(s.smallInner, s.smallOuter), 0.5);
    const double quarter = (BarkRegion.u1 - BarkRegion.u0) * 0.25;
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        const double u0 = BarkRegion.u0 + quarter * k;
        const Corner a = {si[k], li[k], u0, BarkRegion.v0};
        const Corner b = {si[n], li[n], u0 + quarter, BarkRegion.v0};
        const Corner c = {so[n], lo[n], u0 + quarter, BarkRegion.v1};
        const Corner d = {so[k], lo[k], u0, BarkRegion.v1};
        Emit(mesh, a, b, c, Sub(Centroid(a.small, b.small, c.small), middle), part);
        Emit(mesh, a, c, d, Sub(Centroid(a.small, c.small, d.small), middle), part);
    }
    const double capV = BarkRegion.v1 - 0.02;
    const Corner c0 = {so[0], lo[0], BarkRegion.u0, capV};
    const Corner c1 = {so[1], lo[1], BarkRegion.u0 + quarter, capV};
    const Corner c2 = {so[2], lo[2], BarkRegion.u0 + quarter, BarkRegion.v1};
    const Corner c3 = {so[3], lo[3], BarkRegion.u0, BarkRegion.v1};
    Emit(mesh, c0, c1, c2, smallFrame.along, part);
    Emit(mesh, c0, c2, c3, smallFrame.along, part);
}

constexpr Patch FigureOutline = {0.1337, 0.1484, 0.9688, 0.9838};
constexpr double SmallShell = 1.0;
constexpr double LargeShell = 3.0;

// ---- Tree ----

struct Cone {
    double rimRadius;
    double rimHeight;
    double underHeight;
    double tipHeight;
    double bandTop; // v of the tip in the cone's band of the cell
    double bandBottom;
};

constexpr Cone Cones[4] = {{31.384, 16.105, 23.365, 43.497, 0.65, 0.83},
                           {25.107, 29.55, 36.447, 55.572, 0.44, 0.62},
                           {20.086, 42.322, 48.875, 67.044, 0.23, 0.41},
                           {16.069, 54.456, 60.681, 77.941, 0.02, 0.20}};
constexpr double TrunkHalf = 4.0;
constexpr double TrunkHeight = 25.0;
constexpr Patch TrunkRegion = {0.66, 0.96, 0.45, 0.85};
constexpr Patch UnderRegion = {0.66, 0.96, 0.02, 0.40};
constexpr Patch ConeRegion = {0.02, 0.62, 0.0, 0.0};
constexpr Patch TreeOutline = {0.7930, 0.8555, 0.9102, 0.9375};
constexpr double TreeShell = 3.0;

void BuildTrunk(MeshBuild& mesh) {
    const double h = TrunkHalf;
    const Point base[4] = {{h, 0.0, h}, {h, 0.0, -h}, {-h, 0.0, -h}, {-h, 0.0, h}};
    const Point centre = {0.0, TrunkHeight * 0.5, 0.0};
    const double quarter = (TrunkRegion.u1 - TrunkRegion.u0) * 0.25;
    // The diagonals alternate so that two opposite corners touch one triangle of each side; the
    // foot's diagonal joins those two.
    for (int k = 0; k < 4; ++k) {
        const Point p = base[k];
        const Point q = base[(k + 1) % 4];
        const double u0 = TrunkRegion.u0 + quarter * k;
        const Corner a = Both(p, u0, TrunkRegion.v1);
        const Corner b = Both(q, u0 + quarter, TrunkRegion.v1);
        const Corner c = Both({q.x, TrunkHeight, q.z}, u0 + quarter, TrunkRegion.v0);
        const Corner d = Both({p.x, TrunkHeight, p.z}, u0, TrunkRegion.v0);
        const Corner first[3] = {a, b, k % 2 == 0 ? c : d};
        const Corner second[3] = {k % 2 == 0 ? a : b, c, d};
        for (const Corner* t : {first, second}) {
            Emit(mesh, t[0], t[1], t[2], Sub(Centroid(t[0].small, t[1].small, t[2].small), centre),
                 0);
        }
    }
    const double v0 = TrunkRegion.v1 - 0.05;
    const Corner b0 = Both(base[0], TrunkRegion.u0, v0);
    const Corner b1 = Both(base[1], TrunkRegion.u0 + quarter, v0);
    const Corner b2 = Both(base[2], TrunkRegion.u0 + quarter, TrunkRegion.v1);
    const Corner b3 = Both(base[3], TrunkRegion.u0, TrunkRegion.v1);
    Emit(mesh, b1, b2, b3, {0.0, -1.0, 0.0}, 0);
    Emit(mesh, b1, b3, b0, {0.0, -1.0, 0.0}, 0);
}

// Eight under-side triangles from the rim up to a point on the axis, then the eight sides.
void BuildCone(MeshBuild& mesh, const Cone& cone, int part) {
    constexpr int Sides = 8;
    Point rim[Sides + 1];
    for (int k = 0; k <= Sides; ++k) {
        const double angle = 2.0 * Pi * (k % Sides) / Sides;
        rim[k] = {cone.rimRadius * std::cos(angle), cone.rimHeight,
                  cone.rimRadius * std::sin(angle)};
    }
    const double underStep = (UnderRegion.u1 - UnderRegion.u0) / Sides;
    for (int k = 0; k < Sides; ++k) {
        const double u = UnderRegion.u0 + underStep * k;
        Emit(mesh, Both(rim[k], u, UnderRegion.v1), Both(rim[k + 1], u + underStep, UnderRegion.v1),
             Both({0.0, cone.underHeight, 0.0}, u + underStep * 0.5, UnderRegion.v0),
             {0.0, -1.0, 0.0}, part);
    }
    const double sideStep = (ConeRegion.u1 - ConeRegion.u0) / Sides;
    for (int k = 0; k < Sides; ++k) {
        const double u = ConeRegion.u0 + sideStep * k;
        const Corner a = Both(rim[k], u, cone.bandBottom);
        const Corner b = Both(rim[k + 1], u + sideStep, cone.bandBottom);
        const Corner c = Both({0.0, cone.tipHeight, 0.0}, u + sideStep * 0.5, cone.bandTop);
        Emit(mesh, a, b, c, Radial(a, b, c), part);
    }
}
} // namespace

void BuildFloorTile(MeshBuild& mesh) {
    constexpr double Half = 25.0;
    constexpr double Low = 0.025;
    constexpr double High = 0.975;
    const Corner a = Both({Half, 0.0, -Half}, Low, Low);
    const Corner b = Both({-Half, 0.0, -Half}, High, Low);
    const Corner c = Both({-Half, 0.0, Half}, High, High);
    const Corner d = Both({Half, 0.0, Half}, Low, High);
    Emit(mesh, a, b, c, {0.0, 1.0, 0.0}, 0);
    Emit(mesh, c, d, a, {0.0, 1.0, 0.0}, 0);
}

void BuildSnowPile(MeshBuild& mesh) {
    constexpr int Sides = 8;
    constexpr double Radius = 14.3157;
    constexpr double Height = 5.0;
    constexpr double Turn = 2.0 * Pi / Sides;
    Point ground[Sides + 1];
    for (int k = 0; k <= Sides; ++k) {
        const double angle = Turn * ((k % Sides) + 0.5);
        ground[k] = {Radius * std::cos(angle), 0.0, Radius * std::sin(angle)};
    }
    // u follows the azimuth; the face across +x, which wraps around it, ends at the cell's edge.
    for (int k = 0; k < Sides; ++k) {
        const double u0 = 0.02 + 0.96 * (k + 0.5) / Sides;
        const double u1 = k + 1 == Sides ? 0.98 : 0.02 + 0.96 * (k + 1.5) / Sides;
        const Point p = ground[k];
        const Point q = ground[k + 1];
        const Corner a = Both(p, u0, 0.98);
        const Corner b = Both(q, u1, 0.98);
        const Corner c = Both({q.x, Height, q.z}, u1, 0.54);
        const Corner d = Both({p.x, Height, p.z}, u0, 0.54);
        Emit(mesh, a, d, b, Radial(a, d, b), 0);
        Emit(mesh, b, d, c, Radial(b, d, c), 0);
    }
    auto top = [&](int k) {
        const Point p = {ground[k].x, Height, ground[k].z};
        return Both(p, 0.5 + 0.48 * p.x / Radius, 0.24 + 0.22 * p.z / Radius);
    };
    for (int k = 1; k + 1 < Sides; ++k) {
        Emit(mesh, top(0), top(k), top(k + 1), {0.0, 1.0, 0.0}, 1);
    }
    for (Vertex& vertex : mesh.small) {
        vertex.normal = {0.0, 1.0, 0.0}; // replaced by the game at start-up
    }
}

void BuildFigure(MeshBuild& mesh) {
    for (int r = 0; r + 1 < BodyRings; ++r) {
        ZipRings(mesh, r);
    }
    BuildFace(mesh);
    for (int k = 0; k < 6; ++k) {
        EmitStick(mesh, Sticks[k], 4 + k);
    }
    AddShell(mesh.small, SmallShell, FigureOutline);
    AddShell(mesh.large, LargeShell, FigureOutline);
}

void BuildFirTree(MeshBuild& mesh) {
    BuildTrunk(mesh);
    for (int k = 0; k < 4; ++k) {
        BuildCone(mesh, Cones[k], 1 + k);
    }
    AddShell(mesh.small, TreeShell, TreeOutline);
    mesh.large.clear();
}
