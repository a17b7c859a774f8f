// The 3-D path of the device: indexed triangles transformed, lit, clipped, culled, and filled
// with depth test, texture and blending. A triangle that needs clipping goes through the general
// path, which clips it into a polygon and scan converts that; one wholly inside the clip volume
// (almost every triangle of the game's small meshes) goes through a path that skips the
// clipping and walks its three edge functions instead. Both produce the same pixels: a test
// draws meshes through each and compares them.
#include <cmath>
#include <optional>
#include <vector>

#include "common/rounding.h"
#include "platform/device.h"
#include "platform/raster.h"
#include "platform/raster_avx2.h"

namespace platform {

namespace {

using raster::ConvexPolygon;

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

bool Compare(std::uint32_t func, std::uint32_t value, std::uint32_t reference) {
    switch (func) {
        case kCmpNever: return false;
        case kCmpLess: return value < reference;
        case kCmpEqual: return value == reference;
        case kCmpLessEqual: return value <= reference;
        case kCmpGreater: return value > reference;
        case kCmpNotEqual: return value != reference;
        case kCmpGreaterEqual: return value >= reference;
        default: return true;  // always, and any value that names no function
    }
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

// Texel addressing with wrapping (the device's default for meshes): a mask for the power-of-two
// sizes the loader makes, a remainder otherwise.
struct WrappedTexture {
    const Texture& t;
    int maskX, maskY;  // width - 1 and height - 1 when powers of two, else -1

    explicit WrappedTexture(const Texture& texture)
        : t(texture),
          maskX((texture.width & (texture.width - 1)) == 0 ? texture.width - 1 : -1),
          maskY((texture.height & (texture.height - 1)) == 0 ? texture.height - 1 : -1) {}

    std::uint32_t At(std::int64_t x, std::int64_t y) const {
        const int wx = maskX >= 0 ? static_cast<int>(x & maskX) : static_cast<int>(((x % t.width) + t.width) % t.width);
        const int wy = maskY >= 0 ? static_cast<int>(y & maskY) : static_cast<int>(((y % t.height) + t.height) % t.height);
        return t.At(wx, wy);
    }

    // Samples at 16.16 texel coordinates.
    std::uint32_t Sample(std::int64_t u, std::int64_t v, bool linear) const {
        if (!linear) {
            return At(u >> raster::kFracBits, v >> raster::kFracBits);
        }
        const std::int64_t su = u - raster::kOne / 2, sv = v - raster::kOne / 2;
        const std::int64_t x0 = su >> raster::kFracBits, y0 = sv >> raster::kFracBits;
        return raster::Bilinear(At(x0, y0), At(x0 + 1, y0), At(x0, y0 + 1), At(x0 + 1, y0 + 1),
                                static_cast<std::uint32_t>(su >> 8) & 0xFF, static_cast<std::uint32_t>(sv >> 8) & 0xFF);
    }
};

// An attribute as a plane over the screen: value = dx * x + dy * y + at0.
struct Gradient {
    double dx = 0, dy = 0, at0 = 0;
    double At(double x, double y) const { return dx * x + dy * y + at0; }
};

Gradient MakeGradient(const double* sx, const double* sy, const double* value) {
    const double x1 = sx[1] - sx[0], y1 = sy[1] - sy[0], x2 = sx[2] - sx[0], y2 = sy[2] - sy[0];
    const double det = x1 * y2 - x2 * y1;
    Gradient g;
    if (det == 0) {
        g.at0 = value[0];
        return g;
    }
    const double a1 = value[1] - value[0], a2 = value[2] - value[0];
    g.dx = (a1 * y2 - a2 * y1) / det;
    g.dy = (a2 * x1 - a1 * x2) / det;
    g.at0 = value[0] - g.dx * sx[0] - g.dy * sy[0];
    return g;
}

// std::llround (halves away from zero) for |value| < 2^52, without the library call: the
// integer part converts exactly, and so does the fraction left over.
std::int64_t RoundHalfAway(double value) {
    const auto whole = static_cast<std::int64_t>(value);
    const double rest = value - static_cast<double>(whole);
    return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

// Attributes are kept within a billion (texels or depth steps), so a row's worth of steps
// stays far inside 64 bits.
std::int64_t ToFixed64(double value) {
    constexpr double kLimit = 1e9;
    return RoundHalfAway(std::clamp(std::isnan(value) ? 0.0 : value, -kLimit, kLimit) * raster::kOne);
}

bool Finite(const ClipVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w) &&
           std::isfinite(v.u) && std::isfinite(v.v);
}

void DrawTriangle(const ClipVertex (&corner)[3], std::uint32_t lit, const Texture* texture) {
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
    const std::uint32_t cull = device.renderStates[kRsCullMode];
    if (area == 0 || (cull == kCullCounterClockwise && area < 0) || (cull == kCullClockwise && area > 0)) {
        return;
    }
    raster::OrientClockwise(screen);

    // Depth and texture coordinates are planes over the screen (no projection divides them).
    double sx[3], sy[3], z[3], u[3], v[3];
    for (int i = 0; i < 3; ++i) {
        sx[i] = (corner[i].x / corner[i].w + 1.0) * (kScreenWidth / 2.0);
        sy[i] = (1.0 - corner[i].y / corner[i].w) * (kScreenHeight / 2.0);
        z[i] = corner[i].z / corner[i].w * 65535.0;
        u[i] = corner[i].u * (texture ? texture->width : 1);
        v[i] = corner[i].v * (texture ? texture->height : 1);
    }
    const Gradient gz = MakeGradient(sx, sy, z), gu = MakeGradient(sx, sy, u), gv = MakeGradient(sx, sy, v);
    const bool minifying = std::fabs(gu.dx * gv.dy - gu.dy * gv.dx) > 1.0;
    const bool linear = GetTextureStageState(0, minifying ? kTssMinFilter : kTssMagFilter) >= kFilterLinear;

    const auto& rs = device.renderStates;
    const bool depthTest = rs[kRsZEnable] != 0;
    const bool depthWrite = depthTest && rs[kRsZWriteEnable] != 0;
    const bool alphaTest = rs[kRsAlphaTestEnable] != 0;
    const bool blending = rs[kRsAlphaBlendEnable] != 0;
    std::optional<WrappedTexture> wrapped;
    if (texture != nullptr) {
        wrapped.emplace(*texture);
    }

    raster::ScanConvex(screen, 0, 0, kScreenWidth, kScreenHeight, [&](int y, int xBegin, int xEnd) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * kScreenWidth;
        std::int64_t zf = ToFixed64(gz.At(xBegin, y)), dz = ToFixed64(gz.dx);
        std::int64_t uf = ToFixed64(gu.At(xBegin, y)), du = ToFixed64(gu.dx);
        std::int64_t vf = ToFixed64(gv.At(xBegin, y)), dv = ToFixed64(gv.dx);
        for (int x = xBegin; x < xEnd; ++x, zf += dz, uf += du, vf += dv) {
            const std::size_t at = rowStart + static_cast<std::size_t>(x);
            const auto depth = static_cast<std::uint32_t>(std::clamp<std::int64_t>((zf + raster::kOne / 2) >> raster::kFracBits, 0, 65535));
            if (depthTest && !Compare(rs[kRsZFunc], depth, device.depthBuffer[at])) {
                continue;
            }
            std::uint32_t colour = lit;
            if (texture != nullptr) {
                colour = raster::Modulate(wrapped->Sample(uf, vf, linear), lit);
            }
            if (alphaTest && !Compare(rs[kRsAlphaFunc], colour >> 24, rs[kRsAlphaRef] & 0xFF)) {
                continue;
            }
            const std::uint32_t out = blending ? raster::BlendPixel(colour, FromR5G6B5(device.backBuffer[at]),
                                                                    rs[kRsSrcBlend], rs[kRsDestBlend])
                                               : colour;
            device.backBuffer[at] = ToR5G6B5(out);
            if (depthWrite) {
                device.depthBuffer[at] = static_cast<std::uint16_t>(depth);
            }
        }
    });
}

// ---- Triangles inside the clip volume ----

// The states one draw call reads, taken once.
struct CallStates {
    bool depthTest = false;
    bool depthWrite = false;
    std::uint32_t depthFunc = 0;
    bool alphaTest = false;
    std::uint32_t alphaFunc = 0;
    std::uint32_t alphaRef = 0;
    bool blending = false;
    std::uint32_t srcBlend = 0;
    std::uint32_t destBlend = 0;
    std::uint32_t cull = 0;
    bool linearMagnify = false;
    bool linearMinify = false;
    std::uint32_t lit = 0;
    const Texture* texture = nullptr;
    int maskX = -1;  // width - 1 and height - 1 when powers of two, else -1
    int maskY = -1;
};

CallStates ReadCallStates(std::uint32_t lit, const Texture* texture) {
    const auto& rs = device.renderStates;
    CallStates c;
    c.depthTest = rs[kRsZEnable] != 0;
    c.depthWrite = c.depthTest && rs[kRsZWriteEnable] != 0;
    c.depthFunc = rs[kRsZFunc];
    c.alphaTest = rs[kRsAlphaTestEnable] != 0;
    c.alphaFunc = rs[kRsAlphaFunc];
    c.alphaRef = rs[kRsAlphaRef] & 0xFF;
    c.blending = rs[kRsAlphaBlendEnable] != 0;
    c.srcBlend = rs[kRsSrcBlend];
    c.destBlend = rs[kRsDestBlend];
    c.cull = rs[kRsCullMode];
    c.linearMagnify = GetTextureStageState(0, kTssMagFilter) >= kFilterLinear;
    c.linearMinify = GetTextureStageState(0, kTssMinFilter) >= kFilterLinear;
    c.lit = lit;
    c.texture = texture;
    if (texture != nullptr) {
        c.maskX = (texture->width & (texture->width - 1)) == 0 ? texture->width - 1 : -1;
        c.maskY = (texture->height & (texture->height - 1)) == 0 ? texture->height - 1 : -1;
    }
    return c;
}

// A finite corner that every plane of the clip volume keeps: the distances of ClipPolygon's
// planes with their zero terms left out (adding a zero changes no sum but the sign of a zero).
bool InsideClipVolume(const ClipVertex& v) {
    return Finite(v) && v.z >= 0 && v.w - v.z >= 0 && v.x + kGuardBand * v.w >= 0 &&
           kGuardBand * v.w - v.x >= 0 && v.y + kGuardBand * v.w >= 0 && kGuardBand * v.w - v.y >= 0;
}

// The texel under 16.16 coordinates with wrapping: masks for power-of-two sizes (Masked is
// true), a remainder otherwise, exactly as WrappedTexture samples.
template <bool Linear, bool Masked>
std::uint32_t SampleWrapped(const CallStates& c, std::int64_t u, std::int64_t v) {
    const Texture& t = *c.texture;
    const std::uint32_t* origin = t.Origin();
    auto wrapX = [&](std::int64_t x) {
        return Masked ? static_cast<int>(x & c.maskX) : static_cast<int>(((x % t.width) + t.width) % t.width);
    };
    auto wrapY = [&](std::int64_t y) {
        return Masked ? static_cast<int>(y & c.maskY) : static_cast<int>(((y % t.height) + t.height) % t.height);
    };
    if constexpr (!Linear) {
        return origin[static_cast<std::ptrdiff_t>(wrapY(v >> raster::kFracBits)) * t.pitch + wrapX(u >> raster::kFracBits)];
    } else {
        const std::int64_t su = u - raster::kOne / 2, sv = v - raster::kOne / 2;
        const std::int64_t x0 = su >> raster::kFracBits, y0 = sv >> raster::kFracBits;
        const int left = wrapX(x0), right = wrapX(x0 + 1);
        const std::uint32_t* top = origin + static_cast<std::ptrdiff_t>(wrapY(y0)) * t.pitch;
        const std::uint32_t* bottom = origin + static_cast<std::ptrdiff_t>(wrapY(y0 + 1)) * t.pitch;
        return raster::Bilinear(top[left], top[right], bottom[left], bottom[right],
                                static_cast<std::uint32_t>(su >> 8) & 0xFF, static_cast<std::uint32_t>(sv >> 8) & 0xFF);
    }
}

// The attributes of a triangle as planes over the screen, with the filter its texel density
// asks for.
struct TrianglePlanes {
    Gradient z, u, v;
    std::int64_t zStep = 0, uStep = 0, vStep = 0;  // the planes' steps along a row, 16.16
    bool linear = false;
};

// The pixels of a row from xBegin to xEnd, the attributes starting at zf, uf and vf: depth
// test, texture, alpha test, blend, writes. The same per-pixel steps as the general path's,
// with the states read once.
template <bool Textured, bool Linear, bool Masked>
void ShadePixels(const CallStates& c, const TrianglePlanes& p, std::uint16_t* colours, std::uint16_t* depths,
                 int xBegin, int xEnd, std::int64_t zf, std::int64_t uf, std::int64_t vf) {
    const std::int64_t dz = p.zStep, du = p.uStep, dv = p.vStep;
    for (int x = xBegin; x < xEnd; ++x, zf += dz, uf += du, vf += dv) {
        const auto depth = static_cast<std::uint32_t>(std::clamp<std::int64_t>((zf + raster::kOne / 2) >> raster::kFracBits, 0, 65535));
        if (c.depthTest && !Compare(c.depthFunc, depth, depths[x])) {
            continue;
        }
        std::uint32_t colour = c.lit;
        if constexpr (Textured) {
            colour = raster::Modulate(SampleWrapped<Linear, Masked>(c, uf, vf), c.lit);
        }
        if (c.alphaTest && !Compare(c.alphaFunc, colour >> 24, c.alphaRef)) {
            continue;
        }
        const std::uint32_t out =
            c.blending ? raster::BlendPixel(colour, FromR5G6B5(colours[x]), c.srcBlend, c.destBlend) : colour;
        colours[x] = ToR5G6B5(out);
        if (c.depthWrite) {
            depths[x] = static_cast<std::uint16_t>(depth);
        }
    }
}

// The attributes at a row's first pixel, from the planes as the general path evaluates them.
struct RowStart {
    std::int64_t z = 0, u = 0, v = 0;
};

RowStart StartRow(const TrianglePlanes& p, int y, int xBegin, bool textured) {
    RowStart r;
    r.z = ToFixed64(p.z.At(xBegin, y));
    if (textured) {
        r.u = ToFixed64(p.u.At(xBegin, y));
        r.v = ToFixed64(p.v.At(xBegin, y));
    }
    return r;
}

template <bool Textured, bool Linear, bool Masked>
void ShadeRow(const CallStates& c, const TrianglePlanes& p, int y, int xBegin, int xEnd) {
    const std::size_t rowStart = static_cast<std::size_t>(y) * kScreenWidth;
    const RowStart r = StartRow(p, y, xBegin, Textured);
    ShadePixels<Textured, Linear, Masked>(c, p, device.backBuffer.data() + rowStart, device.depthBuffer.data() + rowStart,
                                          xBegin, xEnd, r.z, r.u, r.v);
}

#if defined(STARWAKE_VECTOR_SPANS)

// Compare on 32-bit lanes holding values 0 .. 65535: all ones where Compare is true.
STARWAKE_AVX2 inline __m256i CompareLanes(std::uint32_t func, __m256i value, __m256i reference) {
    const __m256i all = _mm256_set1_epi32(-1);
    switch (func) {
        case kCmpNever: return _mm256_setzero_si256();
        case kCmpLess: return _mm256_cmpgt_epi32(reference, value);
        case kCmpEqual: return _mm256_cmpeq_epi32(value, reference);
        case kCmpLessEqual: return _mm256_xor_si256(_mm256_cmpgt_epi32(value, reference), all);
        case kCmpGreater: return _mm256_cmpgt_epi32(value, reference);
        case kCmpNotEqual: return _mm256_xor_si256(_mm256_cmpeq_epi32(value, reference), all);
        case kCmpGreaterEqual: return _mm256_xor_si256(_mm256_cmpgt_epi32(reference, value), all);
        default: return all;
    }
}

// raster::Factor on 16-bit channel lanes.
STARWAKE_AVX2 inline __m256i FactorLanes(std::uint32_t factor, __m256i src, __m256i srcAlpha, __m256i dest) {
    const __m256i full = _mm256_set1_epi16(255);
    switch (factor) {
        case kBlendOne:
        case kBlendDestAlpha: return full;
        case kBlendSrcColor: return src;
        case kBlendInvSrcColor: return _mm256_sub_epi16(full, src);
        case kBlendSrcAlpha: return srcAlpha;
        case kBlendInvSrcAlpha: return _mm256_sub_epi16(full, srcAlpha);
        case kBlendDestColor: return dest;
        case kBlendInvDestColor: return _mm256_sub_epi16(full, dest);
        default: return _mm256_setzero_si256();  // zero, and every factor that comes to nothing
    }
}

// The sums of raster::BlendPixel for the 16-bit channel lanes of four pixels.
STARWAKE_AVX2 inline __m256i BlendSums(__m256i s, __m256i d, std::uint32_t srcFactor, std::uint32_t destFactor) {
    using raster::lanes::ScaleLanes;
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i sa = raster::lanes::SpreadAlpha(s);
    return _mm256_add_epi16(ScaleLanes(s, _mm256_add_epi16(FactorLanes(srcFactor, s, sa, d), one)),
                            ScaleLanes(d, _mm256_add_epi16(FactorLanes(destFactor, s, sa, d), one)));
}

// raster::BlendPixel on eight pixels: each channel scaled by its factors, summed, and held
// at 255 as the sums are packed.
STARWAKE_AVX2 inline __m256i BlendLanes(__m256i src, __m256i dest, std::uint32_t srcFactor, std::uint32_t destFactor) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(
        BlendSums(_mm256_unpacklo_epi8(src, zero), _mm256_unpacklo_epi8(dest, zero), srcFactor, destFactor),
        BlendSums(_mm256_unpackhi_epi8(src, zero), _mm256_unpackhi_epi8(dest, zero), srcFactor, destFactor));
}

// Eight lanes of a 16.16 attribute from its value at the first pixel on, in their low 32 bits.
STARWAKE_AVX2 inline __m256i AttributeLanes(std::int64_t first, std::int64_t step) {
    const __m256i iota = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(first))),
                            _mm256_mullo_epi32(iota, _mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(step)))));
}

// The step of such lanes from one group of eight pixels to the next.
STARWAKE_AVX2 inline __m256i AttributeStride(std::int64_t step) {
    return _mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(step) * 8u));
}

// Eight 32-bit lanes (values that fit) as eight 16-bit ones, in order.
STARWAKE_AVX2 inline __m128i NarrowLanes(__m256i v) {
    return _mm_packus_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
}

// StartRow with the three planes side by side in lanes: the same products and sums, the same
// clamp and rounding as ToFixed64, for every lane at once.
STARWAKE_AVX2 inline RowStart StartRowLanes(const TrianglePlanes& p, int y, int xBegin, bool textured) {
    const __m256d dx = _mm256_setr_pd(p.z.dx, p.u.dx, p.v.dx, 0.0);
    const __m256d dy = _mm256_setr_pd(p.z.dy, p.u.dy, p.v.dy, 0.0);
    const __m256d at0 = _mm256_setr_pd(p.z.at0, p.u.at0, p.v.at0, 0.0);
    __m256d value = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(dx, _mm256_set1_pd(xBegin)), _mm256_mul_pd(dy, _mm256_set1_pd(y))), at0);
    const __m256d limit = _mm256_set1_pd(1e9);
    value = _mm256_andnot_pd(_mm256_cmp_pd(value, value, _CMP_UNORD_Q), value);  // NaN reads as 0
    value = _mm256_min_pd(_mm256_max_pd(value, _mm256_sub_pd(_mm256_setzero_pd(), limit)), limit);
    alignas(32) std::int64_t fixed[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(fixed),
                       raster::lanes::RoundHalfAwayLanes(_mm256_mul_pd(value, _mm256_set1_pd(raster::kOne))));
    RowStart r;
    r.z = fixed[0];
    if (textured) {
        r.u = fixed[1];
        r.v = fixed[2];
    }
    return r;
}

// ShadePixels eight pixels at a time, for textures wrapped by masks (or none). The low 32 bits
// of the 16.16 texture coordinates carry every bit the masks and weights read, so they step
// in 32-bit lanes; depth does too when no pixel of the row needs clamping, else the row goes
// to the plain loop. A row's last group is masked, and reads and writes back (unchanged) the
// pixels beyond the row's end, so the row must not end within eight pixels of the buffer's.
template <bool Textured, bool Linear>
STARWAKE_AVX2 void ShadeRowVector(const CallStates& c, const TrianglePlanes& p, int y, int xBegin, int xEnd) {
    using namespace raster::lanes;
    const std::size_t rowStart = static_cast<std::size_t>(y) * kScreenWidth;
    std::uint16_t* colours = device.backBuffer.data() + rowStart;
    std::uint16_t* depths = device.depthBuffer.data() + rowStart;
    const RowStart r = StartRowLanes(p, y, xBegin, Textured);
    constexpr std::int64_t kHalf = raster::kOne / 2;
    const int count = xEnd - xBegin;
    const std::int64_t zFirst = r.z + kHalf, zLast = r.z + (count - 1) * p.zStep + kHalf;
    const bool depthFits = std::min(zFirst, zLast) >= 0 && std::max(zFirst, zLast) <= 0xFFFFFFFF;
    const std::size_t groupsEnd = rowStart + static_cast<std::size_t>(xBegin) + (static_cast<std::size_t>(count) + 7) / 8 * 8;
    if (!depthFits || groupsEnd > device.backBuffer.size()) {
        ShadePixels<Textured, Linear, true>(c, p, colours, depths, xBegin, xEnd, r.z, r.u, r.v);
        return;
    }
    const __m256i iota = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    // Linear sampling reads from half a texel back.
    const std::int64_t sampleBack = Linear ? kHalf : 0;
    __m256i z = AttributeLanes(zFirst, p.zStep);
    __m256i u = AttributeLanes(r.u - sampleBack, p.uStep);
    __m256i v = AttributeLanes(r.v - sampleBack, p.vStep);
    const __m256i zStride = AttributeStride(p.zStep), uStride = AttributeStride(p.uStep), vStride = AttributeStride(p.vStep);
    const __m256i maskX = _mm256_set1_epi32(c.maskX), maskY = _mm256_set1_epi32(c.maskY);
    const __m256i pitch = _mm256_set1_epi32(c.texture ? c.texture->pitch : 0);
    const int* origin = c.texture ? reinterpret_cast<const int*>(c.texture->Origin()) : nullptr;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lit = _mm256_set1_epi32(static_cast<int>(c.lit));
    const __m256i litLo = _mm256_add_epi16(_mm256_unpacklo_epi8(lit, zero), _mm256_set1_epi16(1));
    const __m256i litHi = _mm256_add_epi16(_mm256_unpackhi_epi8(lit, zero), _mm256_set1_epi16(1));
    const __m256i alphaRef = _mm256_set1_epi32(static_cast<int>(c.alphaRef));
    const __m256i oneLane = _mm256_set1_epi32(1), low8 = _mm256_set1_epi32(0xFF);
    for (int x = xBegin; x < xEnd; x += 8) {
        const __m256i active = _mm256_cmpgt_epi32(_mm256_set1_epi32(xEnd - x), iota);
        const __m256i depth = _mm256_srli_epi32(z, raster::kFracBits);
        auto* colourAt = reinterpret_cast<__m128i*>(colours + x);
        auto* depthAt = reinterpret_cast<__m128i*>(depths + x);
        const __m128i oldDepth = _mm_loadu_si128(depthAt);
        __m256i pass = active;
        if (c.depthTest) {
            pass = _mm256_and_si256(pass, CompareLanes(c.depthFunc, depth, _mm256_cvtepu16_epi32(oldDepth)));
        }
        __m256i colour = lit;
        if constexpr (Textured) {
            __m256i texel;
            if constexpr (Linear) {
                const __m256i x0 = _mm256_and_si256(_mm256_srli_epi32(u, raster::kFracBits), maskX);
                const __m256i x1 = _mm256_and_si256(_mm256_add_epi32(x0, oneLane), maskX);
                const __m256i y0 = _mm256_and_si256(_mm256_srli_epi32(v, raster::kFracBits), maskY);
                const __m256i row0 = _mm256_mullo_epi32(y0, pitch);
                const __m256i row1 = _mm256_mullo_epi32(_mm256_and_si256(_mm256_add_epi32(y0, oneLane), maskY), pitch);
                texel = BilinearLanes(_mm256_i32gather_epi32(origin, _mm256_add_epi32(row0, x0), 4),
                                      _mm256_i32gather_epi32(origin, _mm256_add_epi32(row0, x1), 4),
                                      _mm256_i32gather_epi32(origin, _mm256_add_epi32(row1, x0), 4),
                                      _mm256_i32gather_epi32(origin, _mm256_add_epi32(row1, x1), 4),
                                      _mm256_and_si256(_mm256_srli_epi32(u, 8), low8),
                                      _mm256_and_si256(_mm256_srli_epi32(v, 8), low8));
            } else {
                const __m256i column = _mm256_and_si256(_mm256_srli_epi32(u, raster::kFracBits), maskX);
                const __m256i row = _mm256_and_si256(_mm256_srli_epi32(v, raster::kFracBits), maskY);
                texel = _mm256_i32gather_epi32(origin, _mm256_add_epi32(_mm256_mullo_epi32(row, pitch), column), 4);
            }
            colour = _mm256_packus_epi16(ScaleLanes(_mm256_unpacklo_epi8(texel, zero), litLo),
                                         ScaleLanes(_mm256_unpackhi_epi8(texel, zero), litHi));
        }
        if (c.alphaTest) {
            pass = _mm256_and_si256(pass, CompareLanes(c.alphaFunc, _mm256_srli_epi32(colour, 24), alphaRef));
        }
        const __m128i oldColour = _mm_loadu_si128(colourAt);
        const __m256i out = c.blending ? BlendLanes(colour, Expand565Lanes(oldColour), c.srcBlend, c.destBlend) : colour;
        const __m128i write = _mm_packs_epi32(_mm256_castsi256_si128(pass), _mm256_extracti128_si256(pass, 1));
        _mm_storeu_si128(colourAt, _mm_blendv_epi8(oldColour, Pack565Lanes(out), write));
        if (c.depthWrite) {
            _mm_storeu_si128(depthAt, _mm_blendv_epi8(oldDepth, NarrowLanes(depth), write));
        }
        z = _mm256_add_epi32(z, zStride);
        u = _mm256_add_epi32(u, uStride);
        v = _mm256_add_epi32(v, vStride);
    }
}

#endif

using RowShader = void (*)(const CallStates&, const TrianglePlanes&, int, int, int);

RowShader ChooseRowShader(const CallStates& c, bool linear) {
    const bool masked = c.texture == nullptr || (c.maskX >= 0 && c.maskY >= 0);
#if defined(STARWAKE_VECTOR_SPANS)
    if (masked && raster::VectorSpansEnabled()) {
        if (c.texture == nullptr) {
            return &ShadeRowVector<false, false>;
        }
        return linear ? &ShadeRowVector<true, true> : &ShadeRowVector<true, false>;
    }
#endif
    if (c.texture == nullptr) {
        return &ShadeRow<false, false, true>;
    }
    if (linear) {
        return masked ? &ShadeRow<true, true, true> : &ShadeRow<true, true, false>;
    }
    return masked ? &ShadeRow<true, false, true> : &ShadeRow<true, false, false>;
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
        t.px = RoundHalfAway((t.sx + 0.5) * raster::kSubPixel);
        t.py = RoundHalfAway((t.sy + 0.5) * raster::kSubPixel);
        t.depth = c.z / c.w * 65535.0;
        t.u = c.u * (texture ? texture->width : 1);
        t.v = c.v * (texture ? texture->height : 1);
    }
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
                                  int left, int right, int top, int bottom, RowShader shade, const CallStates& states,
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
                       const CallStates& states) {
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
    TrianglePlanes planes;
    planes.z = MakeGradient(sx, sy, z);
    planes.u = MakeGradient(sx, sy, u);
    planes.v = MakeGradient(sx, sy, v);
    planes.zStep = ToFixed64(planes.z.dx);
    planes.uStep = ToFixed64(planes.u.dx);
    planes.vStep = ToFixed64(planes.v.dx);
    const bool minifying = std::fabs(planes.u.dx * planes.v.dy - planes.u.dy * planes.v.dx) > 1.0;
    planes.linear = minifying ? states.linearMinify : states.linearMagnify;
    const RowShader shade = ChooseRowShader(states, planes.linear);

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
    const CallStates states = ReadCallStates(lit, texture);
    for (std::size_t i = 0; i < indices.size(); i += 3) {
        const TransformedVertex& a = corners[indices[i]];
        const TransformedVertex& b = corners[indices[i + 1]];
        const TransformedVertex& c = corners[indices[i + 2]];
        if (!device_testing::switches.referenceTriangles && a.inside && b.inside && c.inside) {
            DrawWholeTriangle(a, b, c, states);
        } else {
            const ClipVertex corner[3] = {a.clip, b.clip, c.clip};
            DrawTriangle(corner, lit, texture);
        }
    }
    return kOk;
}

}  // namespace platform
