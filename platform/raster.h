// The software rasteriser under the device: span functions that texture, tint, blend and
// store one run of pixels, chosen once per primitive from a table by blend, filter and tint,
// and the scan conversion of convex polygons with the top-left fill rule.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/pixel_format.h"

namespace platform::raster {

// Texture coordinates in spans are 16.16 fixed point, in texels.
constexpr int kFracBits = 16;
constexpr std::int32_t kOne = 1 << kFracBits;
// Vertex positions are snapped to 1/256 of a pixel before scan conversion.
constexpr int kSubPixelBits = 8;
constexpr std::int64_t kSubPixel = 1 << kSubPixelBits;

// The blend a span does, decided once per primitive from the device's blend states.
enum class Blend {
    kOpaque,    // blending off
    kAlpha,     // source alpha, inverse source alpha
    kAdditive,  // source alpha, one
    kGeneric,   // any other pair of factors, looked up per pixel
    kCount
};
enum class Filter { kPoint, kLinear, kCount };

struct SpanArgs {
    const std::uint32_t* origin = nullptr;  // texel (0, 0) of a bordered texture
    int pitch = 0;                          // texels from one row to the next
    int width = 0;                          // texture size, for the clamped path
    int height = 0;
    std::int32_t u = 0, v = 0;    // texel coordinates at the first pixel's centre
    std::int32_t du = 0, dv = 0;  // their step from one pixel to the next
    std::uint32_t tint = 0xFFFFFFFFu;  // A8R8G8B8 multiplied into every texel when tinted
    std::uint32_t srcFactor = 0;       // blend factors by their device numbers (generic blend)
    std::uint32_t destFactor = 0;
    const std::uint32_t* quads = nullptr;  // a channel span's quads (ChannelQuads), at texel (0, 0)
};
// Every span drops texels whose alpha (after the tint) is 0, as the sprite renderer's alpha
// test does: a colour-keyed texel never paints black, whatever the blend.

// Writes count pixels from dst on.
using SpanFunction = void (*)(const SpanArgs& args, std::uint16_t* dst, int count);

// The plain C++ span for the combination: the reference every faster path must match.
SpanFunction PlainSpan(Blend blend, Filter filter, bool tinted);
// The vector span for the combination, or null when the processor lacks the instructions.
SpanFunction VectorSpan(Blend blend, Filter filter, bool tinted);
// The span the device uses: the vector one when available and enabled, else the plain one.
SpanFunction ChooseSpan(Blend blend, Filter filter, bool tinted);
// Switches the vector spans off or on (tests compare both); on by default where supported.
void EnableVectorSpans(bool enabled);
bool VectorSpansSupported();
// True when the vector paths run: supported by the processor and not switched off.
bool VectorSpansEnabled();

// The colour channel a tint keeps when it keeps exactly one (0 blue, 1 green, 2 red), else -1.
constexpr int SingleTintChannel(std::uint32_t tint) {
    const bool blue = (tint & 0xFF) != 0, green = (tint & 0xFF00) != 0, red = (tint & 0xFF0000) != 0;
    if (blue + green + red != 1) {
        return -1;
    }
    return blue ? 0 : green ? 1 : 2;
}

// The vector span for an additive, linearly filtered sprite of an opaque texture (every alpha
// 0xFF) under a tint whose alpha is not 0 and that keeps a single colour channel: the other
// channels add nothing, so it reads args.quads of that channel alone and changes only that
// channel of the back buffer, as the plain span does. Null without the instructions or while
// the vector spans are off.
SpanFunction AdditiveChannelSpan(int channel);

// Any span whose texel coordinates may leave the bordered texture: clamps every coordinate
// and blends by the factors in args (blend given as kOpaque or kGeneric). Slow but general.
void ClampedSpan(const SpanArgs& args, Blend blend, Filter filter, bool tinted, std::uint16_t* dst,
                 int count);

// True when a span of count pixels from args stays inside the texture's border for the
// filter, so the table's spans may run without clamping.
bool SpanInsideBorder(const SpanArgs& args, Filter filter, int count);

// ---- Colour arithmetic shared by every path ----

// c scaled by the 8-bit factor f: c * (f + 1) / 256, so that f = 255 keeps c and f = 0 gives 0.
constexpr std::uint32_t Scale(std::uint32_t c, std::uint32_t f) { return (c * (f + 1)) >> 8; }

// A blend factor decided once per draw: the factor of a channel is the source channel, the
// source alpha or the back buffer's channel (each kept by a mask of 0 or 0xFF, at most one of
// them set), taken as 255 minus itself when invert is 0xFF. The back buffer has no alpha, so
// its alpha reads as 255.
struct FactorRule {
    std::uint32_t source = 0, alpha = 0, dest = 0, invert = 0;
};

// The rule of a factor by its device number.
constexpr FactorRule MakeFactorRule(std::uint32_t factor) {
    switch (factor) {
        case 2: return {0, 0, 0, 0xFF};     // one
        case 3: return {0xFF, 0, 0, 0};     // source colour
        case 4: return {0xFF, 0, 0, 0xFF};  // inverse source colour
        case 5: return {0, 0xFF, 0, 0};     // source alpha
        case 6: return {0, 0xFF, 0, 0xFF};  // inverse source alpha
        case 7: return {0, 0, 0, 0xFF};     // destination alpha
        case 9: return {0, 0, 0xFF, 0};     // destination colour
        case 10: return {0, 0, 0xFF, 0xFF}; // inverse destination colour
        // Zero, inverse destination alpha, saturated source alpha (min(as, 1 - ad) with ad = 1),
        // and any number that names no factor: all add nothing.
        default: return {};
    }
}

// The factor for one channel: src and dest are that channel's 8-bit values, srcAlpha the
// source alpha.
constexpr std::uint32_t Factor(const FactorRule& rule, std::uint32_t src, std::uint32_t srcAlpha, std::uint32_t dest) {
    return ((src & rule.source) | (srcAlpha & rule.alpha) | (dest & rule.dest)) ^ rule.invert;
}

// The reference blend of one A8R8G8B8 source over one back-buffer pixel by two factors.
constexpr std::uint32_t BlendPixel(std::uint32_t src, std::uint32_t dest, const FactorRule& srcRule,
                                   const FactorRule& destRule) {
    const std::uint32_t sa = src >> 24;
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t s = (src >> shift) & 0xFF;
        const std::uint32_t d = (dest >> shift) & 0xFF;
        const std::uint32_t sum = Scale(s, Factor(srcRule, s, sa, d)) + Scale(d, Factor(destRule, s, sa, d));
        out |= std::min<std::uint32_t>(sum, 255) << shift;
    }
    return out;
}
constexpr std::uint32_t BlendPixel(std::uint32_t src, std::uint32_t dest, std::uint32_t srcFactor,
                                   std::uint32_t destFactor) {
    return BlendPixel(src, dest, MakeFactorRule(srcFactor), MakeFactorRule(destFactor));
}

// Every channel of a texel multiplied by the tint's.
constexpr std::uint32_t Modulate(std::uint32_t texel, std::uint32_t tint) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        out |= Scale((texel >> shift) & 0xFF, (tint >> shift) & 0xFF) << shift;
    }
    return out;
}

// Four A8R8G8B8 texels blended by 8-bit weights (fx across, fy down): each channel first
// across, (c00 (256 - fx) + c10 fx) >> 8, then down the same way. Two channels travel together
// in the halves of a 32-bit word; each half holds at most 255 * 256, so they never spill.
constexpr std::uint32_t Bilinear(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01, std::uint32_t t11,
                                 std::uint32_t fx, std::uint32_t fy) {
    constexpr std::uint32_t kRedBlue = 0x00FF00FFu;
    const std::uint32_t ix = 256 - fx, iy = 256 - fy;
    const std::uint32_t rbTop = (((t00 & kRedBlue) * ix + (t10 & kRedBlue) * fx) >> 8) & kRedBlue;
    const std::uint32_t rbBottom = (((t01 & kRedBlue) * ix + (t11 & kRedBlue) * fx) >> 8) & kRedBlue;
    const std::uint32_t agTop = ((((t00 >> 8) & kRedBlue) * ix + ((t10 >> 8) & kRedBlue) * fx) >> 8) & kRedBlue;
    const std::uint32_t agBottom = ((((t01 >> 8) & kRedBlue) * ix + ((t11 >> 8) & kRedBlue) * fx) >> 8) & kRedBlue;
    const std::uint32_t rb = ((rbTop * iy + rbBottom * fy) >> 8) & kRedBlue;
    const std::uint32_t ag = ((agTop * iy + agBottom * fy) >> 8) & kRedBlue;
    return rb | (ag << 8);
}

// ---- Scan conversion ----

// A convex polygon with vertices in 1/256 pixel, wound so that the interior lies to the right
// of every edge on the y-down screen (clockwise as seen).
struct ConvexPolygon {
    static constexpr int kMaxVertices = 12;
    int count = 0;
    std::int64_t x[kMaxVertices] = {};
    std::int64_t y[kMaxVertices] = {};
};

// Twice the signed area; positive for clockwise as seen on the y-down screen.
std::int64_t SignedArea2(const ConvexPolygon& polygon);
// Reverses the winding when it is counter-clockwise; false for a polygon with no area.
bool OrientClockwise(ConvexPolygon& polygon);

// Calls span(y, xBegin, xEnd) for every row whose pixel centres (x + 0.5, y + 0.5) lie inside
// the clockwise polygon by the top-left rule, within [clipLeft, clipRight) x [clipTop,
// clipBottom). A centre on a left or top edge is inside, on a right or bottom edge outside, so
// polygons that share an edge never both draw a pixel on it.
template <typename SpanCallback>
void ScanConvex(const ConvexPolygon& p, int clipLeft, int clipTop, int clipRight, int clipBottom,
                SpanCallback&& span);

namespace detail {
// ceil(n / d) for any signs, d != 0.
constexpr std::int64_t CeilDiv(std::int64_t n, std::int64_t d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}
}  // namespace detail

template <typename SpanCallback>
void ScanConvex(const ConvexPolygon& p, int clipLeft, int clipTop, int clipRight, int clipBottom,
                SpanCallback&& span) {
    std::int64_t yMin = p.y[0], yMax = p.y[0];
    for (int i = 1; i < p.count; ++i) {
        yMin = std::min(yMin, p.y[i]);
        yMax = std::max(yMax, p.y[i]);
    }
    // Rows whose centre lies in [yMin, yMax).
    const std::int64_t half = kSubPixel / 2;
    const std::int64_t first = std::max<std::int64_t>(detail::CeilDiv(yMin - half, kSubPixel), clipTop);
    const std::int64_t last = std::min<std::int64_t>(detail::CeilDiv(yMax - half, kSubPixel), clipBottom);
    for (std::int64_t row = first; row < last; ++row) {
        const std::int64_t yc = row * kSubPixel + half;
        std::int64_t left = clipLeft, right = clipRight;
        for (int i = 0; i < p.count && left < right; ++i) {
            const int j = i + 1 == p.count ? 0 : i + 1;
            const std::int64_t x0 = p.x[i], y0 = p.y[i], x1 = p.x[j], y1 = p.y[j];
            const std::int64_t dy = y1 - y0;
            if (dy == 0) {
                // A top edge (running right) keeps centres on it, a bottom edge does not.
                if ((x1 > x0 && yc < y0) || (x1 < x0 && yc >= y0)) {
                    right = left;
                }
                continue;
            }
            // First pixel whose centre is at or right of the edge's crossing of this row.
            const std::int64_t bound =
                detail::CeilDiv((x0 - half) * dy + (yc - y0) * (x1 - x0), dy * kSubPixel);
            if (dy < 0) {
                left = std::max(left, bound);  // a left edge: centres on it are inside
            } else {
                right = std::min(right, bound);  // a right edge: centres on it are outside
            }
        }
        if (left < right) {
            span(static_cast<int>(row), static_cast<int>(left), static_cast<int>(right));
        }
    }
}

}  // namespace platform::raster
