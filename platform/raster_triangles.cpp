// The 3-D path of the device: indexed triangles transformed, lit, clipped, culled, and handed
// row by row to the row shaders of platform/raster_pixels.h (depth test, texture, blending). A
// triangle that needs clipping goes through the general path, which clips it into a polygon
// and scan converts that; one wholly inside the clip volume (almost every triangle of the
// game's small meshes) goes through a path that skips the clipping and walks its three edge
// functions instead. Both find the same pixels: a test draws meshes through each and compares.
#include <cmath>
#include <vector>

#include "common/rounding.h"
#include "platform/device.h"
#include "platform/raster.h"
#include "platform/raster_avx2.h"
#include "platform/raster_pixels.h"

namespace platform {

namespace {

using raster::ConvexPolygon;
using raster::TrianglePlanes;
using raster::TriangleStates;

// Clipping keeps x and y within this many half-screens of the centre, so fixed-point edges
// stay small; beyond the screen nothing is drawn anyway.
constexpr double kGuardBand = 4.0;

struct ClipVertex {
    double x = 0, y = 0, z = 0, w = 0;  // clip space
    double u = 0, v = 0;
};

// A plane of the clip volume as the signed distance a x + b y + c z + d w >= 0.
struct ClipPlane {
    double a, b, c, d;
};
constexpr ClipPlane kPlanes[] = {
    {0, 0, 1, 0},             // z >= 0
    {0, 0, -1, 1},            // z <= w
    {1, 0, 0, kGuardBand},    // x >= -g w
    {-1, 0, 0, kGuardBand},   // x <= g w
    {0, 1, 0, kGuardBand},    // y >= -g w
    {0, -1, 0, kGuardBand},   // y <= g w
};

double Distance(const ClipPlane& p, const ClipVertex& v) { return p.a * v.x + p.b * v.y + p.c * v.z + p.d * v.w; }

ClipVertex Mix(const ClipVertex& a, const ClipVertex& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.w + (b.w - a.w) * t, a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t};
}

// Cuts the polygon by every plane of the clip volume; false when nothing is left.
bool ClipPolygon(ClipVertex* poly, int& count) {
    ClipVertex scratch[ConvexPolygon::kMaxVertices];
    for (const ClipPlane& plane : kPlanes) {
        bool allInside = true;
        for (int i = 0; i < count && allInside; ++i) {
            allInside = Distance(plane, poly[i]) >= 0;
        }
        if (allInside) {
            continue;  // the usual case: nothing to cut
        }
        int out = 0;
        for (int i = 0; i < count; ++i) {
            const ClipVertex& a = poly[i];
            const ClipVertex& b = poly[(i + 1) % count];
            const double da = Distance(plane, a), db = Distance(plane, b);
            if (da >= 0) {
                scratch[out++] = a;
            }
            if ((da >= 0) != (db >= 0) && out < ConvexPolygon::kMaxVertices) {
                scratch[out++] = Mix(a, b, da / (da - db));
            }
        }
        count = std::min(out, ConvexPolygon::kMaxVertices);
        std::copy(scratch, scratch + count, poly);
        if (count < 3) {
            return false;
        }
    }
    return true;
}


std::uint32_t Channel8(double value) {
    return static_cast<std::uint32_t>(common::ClampRound<int>(std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 1.0) * 255.0));
}

// The colour every vertex gets: no light is ever set, so only the ambient term and the
// emissive colour remain.
std::uint32_t LitColour() {
    if (device.renderStates[kRsLighting] == 0) {
        return 0xFFFFFFFFu;
    }
    const std::uint32_t ambient = device.renderStates[kRsAmbient];
    const Material& m = device.material;
    const double ar = ((ambient >> 16) & 0xFF) / 255.0, ag = ((ambient >> 8) & 0xFF) / 255.0,
                 ab = (ambient & 0xFF) / 255.0;
    return (Channel8(m.diffuse.a) << 24) | (Channel8(ar * m.ambient.r + m.emissive.r) << 16) |
           (Channel8(ag * m.ambient.g + m.emissive.g) << 8) | Channel8(ab * m.ambient.b + m.emissive.b);
}

bool Finite(const ClipVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w) &&
           std::isfinite(v.u) && std::isfinite(v.v);
}

// A finite corner that every plane of the clip volume keeps: the distances of ClipPolygon's
// planes with their zero terms left out (adding a zero changes no sum but the sign of a zero).
bool InsideClipVolume(const ClipVertex& v) {
    return Finite(v) && v.z >= 0 && v.w - v.z >= 0 && v.x + kGuardBand * v.w >= 0 &&
           kGuardBand * v.w - v.x >= 0 && v.y + kGuardBand * v.w >= 0 && kGuardBand * v.w - v.y >= 0;
}

// A vertex of the draw call through the transforms and, when the clip volume holds it whole,
// where it lands: the viewport position as the general path computes it and snaps it.
struct TransformedVertex {
    ClipVertex clip;
    bool inside = false;   // finite, and inside every plane of the clip volume
    bool ahead = false;    // w > 0: it has a place on the screen
    double sx = 0, sy = 0;           // viewport position, pixel centres on whole numbers
    std::int64_t px = 0, py = 0;     // sx + 0.5 and sy + 0.5 in 1/256 pixel
    double depth = 0, u = 0, v = 0;  // z / w in depth steps, texture coordinates in texels
};

// The triangle path's state: the vertices of the call being drawn, in a buffer that grows to
// the largest mesh and is reused, so that drawing allocates nothing frame after frame.
struct TriangleState {
    std::vector<TransformedVertex> vertices;
};
TriangleState triangles;

// Fills t in place: building it aside and copying it over costs more than the arithmetic.
void Transform(const MeshVertex& p, const Matrix& m, const Texture* texture, TransformedVertex& t) {
    ClipVertex& c = t.clip;
    c.x = p.x * static_cast<double>(m.m[0][0]) + p.y * static_cast<double>(m.m[1][0]) + p.z * static_cast<double>(m.m[2][0]) + m.m[3][0];
    c.y = p.x * static_cast<double>(m.m[0][1]) + p.y * static_cast<double>(m.m[1][1]) + p.z * static_cast<double>(m.m[2][1]) + m.m[3][1];
    c.z = p.x * static_cast<double>(m.m[0][2]) + p.y * static_cast<double>(m.m[1][2]) + p.z * static_cast<double>(m.m[2][2]) + m.m[3][2];
    c.w = p.x * static_cast<double>(m.m[0][3]) + p.y * static_cast<double>(m.m[1][3]) + p.z * static_cast<double>(m.m[2][3]) + m.m[3][3];
    c.u = p.u;
    c.v = p.v;
    t.inside = InsideClipVolume(c);
    t.ahead = c.w > 0;
    if (t.inside && t.ahead) {
        // To the viewport as the general path puts its polygon's corners there.
        t.sx = (c.x / c.w + 1.0) * (kScreenWidth / 2.0);
        t.sy = (1.0 - c.y / c.w) * (kScreenHeight / 2.0);
        t.px = raster::RoundHalfAway((t.sx + 0.5) * raster::kSubPixel);
        t.py = raster::RoundHalfAway((t.sy + 0.5) * raster::kSubPixel);
        t.depth = c.z / c.w * 65535.0;
        t.u = c.u * (texture ? texture->width : 1);
        t.v = c.v * (texture ? texture->height : 1);
    }
}

// Draws a triangle through the clip volume: clipped into a polygon, scan converted, and its
// rows shaded with the attributes of the whole triangle.
void DrawClippedTriangle(const ClipVertex (&corner)[3], const TriangleStates& states) {
    ClipVertex poly[ConvexPolygon::kMaxVertices] = {corner[0], corner[1], corner[2]};
    int count = 3;
    for (const ClipVertex& v : corner) {
        if (!Finite(v)) {
            return;
        }
    }
    if (!ClipPolygon(poly, count)) {
        return;
    }
    // To the viewport: x from -1 .. 1 across, y from 1 at the top to -1, depth 0 .. 1. Pixel
    // centres are whole coordinates; the scan converter puts them at half ones, hence + 0.5.
    ConvexPolygon screen;
    screen.count = count;
    for (int i = 0; i < count; ++i) {
        if (!(poly[i].w > 0)) {
            return;
        }
        const double sx = (poly[i].x / poly[i].w + 1.0) * (kScreenWidth / 2.0);
        const double sy = (1.0 - poly[i].y / poly[i].w) * (kScreenHeight / 2.0);
        screen.x[i] = std::llround((sx + 0.5) * raster::kSubPixel);
        screen.y[i] = std::llround((sy + 0.5) * raster::kSubPixel);
    }
    // Winding as seen on the screen: positive area is clockwise.
    const std::int64_t area = raster::SignedArea2(screen);
    if (area == 0 || (states.cull == kCullCounterClockwise && area < 0) || (states.cull == kCullClockwise && area > 0)) {
        return;
    }
    raster::OrientClockwise(screen);

    // Depth and texture coordinates are planes over the screen (no projection divides them).
    const Texture* texture = states.texture;
    double sx[3], sy[3], z[3], u[3], v[3];
    for (int i = 0; i < 3; ++i) {
        sx[i] = (corner[i].x / corner[i].w + 1.0) * (kScreenWidth / 2.0);
        sy[i] = (1.0 - corner[i].y / corner[i].w) * (kScreenHeight / 2.0);
        z[i] = corner[i].z / corner[i].w * 65535.0;
        u[i] = corner[i].u * (texture ? texture->width : 1);
        v[i] = corner[i].v * (texture ? texture->height : 1);
    }
    const TrianglePlanes planes = raster::MakePlanes(sx, sy, z, u, v);
    const raster::RowShader shade = states.ShaderFor(planes);
    raster::ScanConvex(screen, 0, 0, kScreenWidth, kScreenHeight,
                       [&](int y, int xBegin, int xEnd) { shade(states, planes, y, xBegin, xEnd); });
}


#if defined(STARWAKE_VECTOR_SPANS)

// All ones in the lanes that hold a finite value.
STARWAKE_AVX2 inline __m256d FiniteLanes(__m256d value) {
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    return _mm256_cmp_pd(_mm256_and_pd(value, magnitude), _mm256_set1_pd(HUGE_VAL), _CMP_LT_OQ);
}

// All ones in the lanes that hold a value >= 0 (a NaN is not).
STARWAKE_AVX2 inline __m256d AtLeastZeroLanes(__m256d value) {
    return _mm256_cmp_pd(value, _mm256_setzero_pd(), _CMP_GE_OQ);
}

// Transform for four vertices at once: each vertex's clip coordinates as one lane vector
// (the same products and sums in the same order), then the divisions, the viewport and the
// snapping of all four side by side. Lanes of vertices outside the clip volume compute
// values nobody reads.
STARWAKE_AVX2 void TransformFour(const MeshVertex* p, const Matrix& m, const Texture* texture, TransformedVertex* t) {
    __m256d rows[4];
    for (int k = 0; k < 4; ++k) {
        rows[k] = _mm256_cvtps_pd(_mm_loadu_ps(m.m[static_cast<std::size_t>(k)].data()));
    }
    __m256d clip[4];
    for (int i = 0; i < 4; ++i) {
        clip[i] = _mm256_add_pd(_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(p[i].x), rows[0]),
                                                            _mm256_mul_pd(_mm256_set1_pd(p[i].y), rows[1])),
                                              _mm256_mul_pd(_mm256_set1_pd(p[i].z), rows[2])),
                                rows[3]);
        ClipVertex& c = t[i].clip;
        _mm256_storeu_pd(&c.x, clip[i]);
        c.u = p[i].u;
        c.v = p[i].v;
    }
    // Across to one vector per coordinate: x, y, z and w of the four vertices.
    const __m256d xy01 = _mm256_unpacklo_pd(clip[0], clip[1]), zw01 = _mm256_unpackhi_pd(clip[0], clip[1]);
    const __m256d xy23 = _mm256_unpacklo_pd(clip[2], clip[3]), zw23 = _mm256_unpackhi_pd(clip[2], clip[3]);
    const __m256d x = _mm256_permute2f128_pd(xy01, xy23, 0x20), z = _mm256_permute2f128_pd(xy01, xy23, 0x31);
    const __m256d y = _mm256_permute2f128_pd(zw01, zw23, 0x20), w = _mm256_permute2f128_pd(zw01, zw23, 0x31);
    // InsideClipVolume and w > 0, lane by lane.
    const __m256d zero = _mm256_setzero_pd(), guard = _mm256_set1_pd(kGuardBand);
    const __m256d u = _mm256_setr_pd(p[0].u, p[1].u, p[2].u, p[3].u), v = _mm256_setr_pd(p[0].v, p[1].v, p[2].v, p[3].v);
    const __m256d guardW = _mm256_mul_pd(guard, w);
    __m256d inside = _mm256_and_pd(_mm256_and_pd(FiniteLanes(x), FiniteLanes(y)), _mm256_and_pd(FiniteLanes(z), FiniteLanes(w)));
    inside = _mm256_and_pd(inside, _mm256_and_pd(FiniteLanes(u), FiniteLanes(v)));
    inside = _mm256_and_pd(inside, _mm256_and_pd(AtLeastZeroLanes(z), AtLeastZeroLanes(_mm256_sub_pd(w, z))));
    inside = _mm256_and_pd(inside, _mm256_and_pd(AtLeastZeroLanes(_mm256_add_pd(x, guardW)), AtLeastZeroLanes(_mm256_sub_pd(guardW, x))));
    inside = _mm256_and_pd(inside, _mm256_and_pd(AtLeastZeroLanes(_mm256_add_pd(y, guardW)), AtLeastZeroLanes(_mm256_sub_pd(guardW, y))));
    const int insideBits = _mm256_movemask_pd(inside);
    const int aheadBits = _mm256_movemask_pd(_mm256_cmp_pd(w, zero, _CMP_GT_OQ));
    for (int i = 0; i < 4; ++i) {
        t[i].inside = (insideBits >> i) & 1;
        t[i].ahead = (aheadBits >> i) & 1;
    }
    const __m256d one = _mm256_set1_pd(1.0), half = _mm256_set1_pd(0.5), subPixel = _mm256_set1_pd(raster::kSubPixel);
    const __m256d sx = _mm256_mul_pd(_mm256_add_pd(_mm256_div_pd(x, w), one), _mm256_set1_pd(kScreenWidth / 2.0));
    const __m256d sy = _mm256_mul_pd(_mm256_sub_pd(one, _mm256_div_pd(y, w)), _mm256_set1_pd(kScreenHeight / 2.0));
    const __m256d depth = _mm256_mul_pd(_mm256_div_pd(z, w), _mm256_set1_pd(65535.0));
    alignas(32) double sxs[4], sys[4], depths[4];
    alignas(32) std::int64_t pxs[4], pys[4];
    _mm256_store_pd(sxs, sx);
    _mm256_store_pd(sys, sy);
    _mm256_store_pd(depths, depth);
    using raster::lanes::RoundHalfAwayLanes;
    _mm256_store_si256(reinterpret_cast<__m256i*>(pxs), RoundHalfAwayLanes(_mm256_mul_pd(_mm256_add_pd(sx, half), subPixel)));
    _mm256_store_si256(reinterpret_cast<__m256i*>(pys), RoundHalfAwayLanes(_mm256_mul_pd(_mm256_add_pd(sy, half), subPixel)));
    for (int i = 0; i < 4; ++i) {
        if (t[i].inside && t[i].ahead) {
            t[i].sx = sxs[i];
            t[i].sy = sys[i];
            t[i].px = pxs[i];
            t[i].py = pys[i];
            t[i].depth = depths[i];
            t[i].u = t[i].clip.u * (texture ? texture->width : 1);
            t[i].v = t[i].clip.v * (texture ? texture->height : 1);
        }
    }
}

// The rows of a triangle's box (DrawWholeTriangle's walk) for boxes at most 64 pixels wide,
// with the edge functions of four neighbouring centres tested at once: bit n of a row's mask
// is set when centre left + n lies inside all three edges, and the row's run is the first
// block of set bits, the run the walk one centre at a time finds.
STARWAKE_AVX2 void ShadeNarrowBox(std::int64_t (&rowStart)[3], const std::int64_t (&stepX)[3], const std::int64_t (&stepY)[3],
                                  int left, int right, int top, int bottom, raster::RowShader shade, const TriangleStates& states,
                                  const TrianglePlanes& planes) {
    const int width = right - left + 1;
    const std::uint64_t inBox = width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
    __m256i offset[3], stride[3];
    for (int k = 0; k < 3; ++k) {
        offset[k] = _mm256_setr_epi64x(0, stepX[k], 2 * stepX[k], 3 * stepX[k]);
        stride[k] = _mm256_set1_epi64x(4 * stepX[k]);
    }
    for (int y = top; y <= bottom; ++y) {
        __m256i e0 = _mm256_add_epi64(_mm256_set1_epi64x(rowStart[0]), offset[0]);
        __m256i e1 = _mm256_add_epi64(_mm256_set1_epi64x(rowStart[1]), offset[1]);
        __m256i e2 = _mm256_add_epi64(_mm256_set1_epi64x(rowStart[2]), offset[2]);
        std::uint64_t inside = 0;
        for (int n = 0; n < width; n += 4) {
            // All three negative: the sign bit survives the and.
            const int bits = _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_and_si256(_mm256_and_si256(e0, e1), e2)));
            inside |= static_cast<std::uint64_t>(bits) << n;
            e0 = _mm256_add_epi64(e0, stride[0]);
            e1 = _mm256_add_epi64(e1, stride[1]);
            e2 = _mm256_add_epi64(e2, stride[2]);
        }
        inside &= inBox;
        if (inside != 0) {
            const int begin = __builtin_ctzll(inside);
            const std::uint64_t after = ~(inside >> begin);
            const int length = after == 0 ? 64 : __builtin_ctzll(after);
            shade(states, planes, y, left + begin, left + begin + length);
        }
        rowStart[0] += stepY[0];
        rowStart[1] += stepY[1];
        rowStart[2] += stepY[2];
    }
}

#endif

// Draws a triangle whose corners all lie inside the clip volume. Its screen polygon is its
// three corners, snapped as the general path snaps them; a pixel belongs to it when its centre
// lies strictly inside every edge, or on a left or top one: the top-left rule of ScanConvex,
// tested by edge functions stepped across the triangle's bounding box.
void DrawWholeTriangle(const TransformedVertex& a, const TransformedVertex& b, const TransformedVertex& c,
                       const TriangleStates& states) {
    if (!a.ahead || !b.ahead || !c.ahead) {
        return;
    }
    std::int64_t px[3] = {a.px, b.px, c.px}, py[3] = {a.py, b.py, c.py};
    const std::int64_t area = (px[0] * py[1] - px[1] * py[0]) + (px[1] * py[2] - px[2] * py[1]) + (px[2] * py[0] - px[0] * py[2]);
    if (area == 0 || (states.cull == kCullCounterClockwise && area < 0) || (states.cull == kCullClockwise && area > 0)) {
        return;
    }
    if (area < 0) {
        std::swap(px[1], px[2]);
        std::swap(py[1], py[2]);
    }

    const double sx[3] = {a.sx, b.sx, c.sx}, sy[3] = {a.sy, b.sy, c.sy};
    const double z[3] = {a.depth, b.depth, c.depth}, u[3] = {a.u, b.u, c.u}, v[3] = {a.v, b.v, c.v};
    const TrianglePlanes planes = raster::MakePlanes(sx, sy, z, u, v);
    const raster::RowShader shade = states.ShaderFor(planes);

    // Pixel centres (x + 0.5, y + 0.5) in the box around the corners, on the screen.
    constexpr std::int64_t kHalf = raster::kSubPixel / 2;
    const std::int64_t minX = std::min({px[0], px[1], px[2]}), maxX = std::max({px[0], px[1], px[2]});
    const std::int64_t minY = std::min({py[0], py[1], py[2]}), maxY = std::max({py[0], py[1], py[2]});
    const int left = static_cast<int>(std::max<std::int64_t>((minX - kHalf + raster::kSubPixel - 1) >> raster::kSubPixelBits, 0));
    const int right = static_cast<int>(std::min<std::int64_t>((maxX - kHalf) >> raster::kSubPixelBits, kScreenWidth - 1));
    const int top = static_cast<int>(std::max<std::int64_t>((minY - kHalf + raster::kSubPixel - 1) >> raster::kSubPixelBits, 0));
    const int bottom = static_cast<int>(std::min<std::int64_t>((maxY - kHalf) >> raster::kSubPixelBits, kScreenHeight - 1));
    if (left > right || top > bottom) {
        return;
    }
    // Edge k from corner k to the next: e = (X - xk) dy - (Y - yk) dx, negative inside. A
    // centre on a left edge (running up) or a top edge (level, running right) is inside: one
    // is taken from those edges' values so that zero counts as negative.
    std::int64_t rowStart[3], stepX[3], stepY[3];
    const std::int64_t firstX = left * raster::kSubPixel + kHalf, firstY = top * raster::kSubPixel + kHalf;
    for (int k = 0; k < 3; ++k) {
        const int next = k == 2 ? 0 : k + 1;
        const std::int64_t dx = px[next] - px[k], dy = py[next] - py[k];
        const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        rowStart[k] = (firstX - px[k]) * dy - (firstY - py[k]) * dx - (topLeft ? 1 : 0);
        stepX[k] = dy * raster::kSubPixel;
        stepY[k] = -dx * raster::kSubPixel;
    }
#if defined(STARWAKE_VECTOR_SPANS)
    if (right - left < 64 && raster::VectorSpansEnabled()) {
        ShadeNarrowBox(rowStart, stepX, stepY, left, right, top, bottom, shade, states, planes);
        return;
    }
#endif
    for (int y = top; y <= bottom; ++y) {
        std::int64_t e0 = rowStart[0], e1 = rowStart[1], e2 = rowStart[2];
        int x = left;
        // Skip to the first centre inside, then take the run of centres inside: the triangle
        // is convex, so a row holds one run at most.
        while (x <= right && (e0 & e1 & e2) >= 0) {
            ++x;
            e0 += stepX[0];
            e1 += stepX[1];
            e2 += stepX[2];
        }
        const int runBegin = x;
        while (x <= right && (e0 & e1 & e2) < 0) {
            ++x;
            e0 += stepX[0];
            e1 += stepX[1];
            e2 += stepX[2];
        }
        if (runBegin < x) {
            shade(states, planes, y, runBegin, x);
        }
        rowStart[0] += stepY[0];
        rowStart[1] += stepY[1];
        rowStart[2] += stepY[2];
    }
}

}  // namespace

std::int32_t DrawIndexedTriangles(std::span<const MeshVertex> vertices, std::span<const std::uint32_t> indices) {
    if (!device.created || indices.size() % 3 != 0 ||
        device.backBuffer.size() != static_cast<std::size_t>(kScreenWidth) * kScreenHeight) {
        return kErrInvalidCall;
    }
    for (const std::uint32_t index : indices) {
        if (index >= vertices.size()) {
            return kErrInvalidCall;
        }
    }
    const Matrix m = device.world * device.view * device.projection;
    const std::uint32_t lit = LitColour();
    const Texture* texture = GetTexture(device.textures[0]);
    std::vector<TransformedVertex>& corners = triangles.vertices;
    if (corners.size() < vertices.size()) {
        corners.resize(vertices.size());
    }
    std::size_t done = 0;
#if defined(STARWAKE_VECTOR_SPANS)
    if (raster::VectorSpansEnabled()) {
        for (; done + 4 <= vertices.size(); done += 4) {
            TransformFour(&vertices[done], m, texture, &corners[done]);
        }
    }
#endif
    for (; done < vertices.size(); ++done) {
        Transform(vertices[done], m, texture, corners[done]);
    }
    const TriangleStates states = raster::ReadTriangleStates(lit, texture);
    for (std::size_t i = 0; i < indices.size(); i += 3) {
        const TransformedVertex& a = corners[indices[i]];
        const TransformedVertex& b = corners[indices[i + 1]];
        const TransformedVertex& c = corners[indices[i + 2]];
        if (!device_testing::switches.referenceTriangles && a.inside && b.inside && c.inside) {
            DrawWholeTriangle(a, b, c, states);
        } else {
            const ClipVertex corner[3] = {a.clip, b.clip, c.clip};
            DrawClippedTriangle(corner, states);
        }
    }
    return kOk;
}

}  // namespace platform