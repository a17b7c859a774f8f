#include "platform/raster.h"

#include <array>

namespace platform::raster {

namespace {

constexpr std::uint32_t kRedBlue = 0x00FF00FFu;

template <Filter F>
inline std::uint32_t Sample(const SpanArgs& a, std::int32_t u, std::int32_t v) {
    if constexpr (F == Filter::kPoint) {
        return a.origin[static_cast<std::ptrdiff_t>(v >> kFracBits) * a.pitch + (u >> kFracBits)];
    } else {
        // Texel centres sit at half coordinates: step back half a texel, then the integer part
        // names the upper-left texel of the four and the fraction's top 8 bits weigh them.
        const std::int32_t su = u - kOne / 2, sv = v - kOne / 2;
        const std::uint32_t* top =
            a.origin + static_cast<std::ptrdiff_t>(sv >> kFracBits) * a.pitch + (su >> kFracBits);
        const std::uint32_t* bottom = top + a.pitch;
        return Bilinear(top[0], top[1], bottom[0], bottom[1], static_cast<std::uint32_t>(su >> 8) & 0xFF,
                        static_cast<std::uint32_t>(sv >> 8) & 0xFF);
    }
}

template <Blend B>
inline std::uint16_t BlendOver(std::uint32_t s, std::uint16_t destPixel, const FactorRule& srcRule,
                               const FactorRule& destRule) {
    const std::uint32_t sa = s >> 24;
    if constexpr (B == Blend::kOpaque) {
        return ToR5G6B5(s);
    } else if constexpr (B == Blend::kAlpha) {
        // Source weighted by its alpha plus the back buffer by the rest, red and blue together.
        const std::uint32_t d = FromR5G6B5(destPixel);
        const std::uint32_t rb = ((((s & kRedBlue) * (sa + 1)) >> 8) & kRedBlue) +
                                 ((((d & kRedBlue) * (256 - sa)) >> 8) & kRedBlue);
        const std::uint32_t g = Scale((s >> 8) & 0xFF, sa) + Scale((d >> 8) & 0xFF, 255 - sa);
        return ToR5G6B5(rb | (g << 8));
    } else if constexpr (B == Blend::kAdditive) {
        const std::uint32_t d = FromR5G6B5(destPixel);
        std::uint32_t rb = ((((s & kRedBlue) * (sa + 1)) >> 8) & kRedBlue) + (d & kRedBlue);
        // Saturate each half that carried past 255.
        const std::uint32_t carry = rb & 0x01000100u;
        rb = (rb | (carry - (carry >> 8))) & kRedBlue;
        const std::uint32_t g = std::min<std::uint32_t>(Scale((s >> 8) & 0xFF, sa) + ((d >> 8) & 0xFF), 255);
        return ToR5G6B5(rb | (g << 8));
    } else {
        return ToR5G6B5(BlendPixel(s, FromR5G6B5(destPixel), srcRule, destRule));
    }
}

template <Blend B, Filter F, bool Tinted>
void Span(const SpanArgs& a, std::uint16_t* dst, int count) {
    const FactorRule srcRule = MakeFactorRule(a.srcFactor), destRule = MakeFactorRule(a.destFactor);
    std::int32_t u = a.u, v = a.v;
    for (int i = 0; i < count; ++i, u += a.du, v += a.dv) {
        std::uint32_t s = Sample<F>(a, u, v);
        if constexpr (Tinted) {
            s = Modulate(s, a.tint);
        }
        if ((s >> 24) == 0) {
            continue;
        }
        dst[i] = BlendOver<B>(s, dst[i], srcRule, destRule);
    }
}

using SpanTable = std::array<std::array<std::array<SpanFunction, 2>, static_cast<int>(Filter::kCount)>,
                             static_cast<int>(Blend::kCount)>;

template <Blend B, Filter F>
constexpr std::array<SpanFunction, 2> TintPair() {
    return {&Span<B, F, false>, &Span<B, F, true>};
}
template <Blend B>
constexpr std::array<std::array<SpanFunction, 2>, 2> FilterPairs() {
    return {TintPair<B, Filter::kPoint>(), TintPair<B, Filter::kLinear>()};
}

constexpr SpanTable kPlainSpans = {FilterPairs<Blend::kOpaque>(), FilterPairs<Blend::kAlpha>(),
                                   FilterPairs<Blend::kAdditive>(), FilterPairs<Blend::kGeneric>()};

bool vectorEnabled = true;

std::uint32_t ClampedTexel(const SpanArgs& a, std::int64_t x, std::int64_t y) {
    const std::int64_t cx = std::clamp<std::int64_t>(x, 0, a.width - 1);
    const std::int64_t cy = std::clamp<std::int64_t>(y, 0, a.height - 1);
    return a.origin[cy * a.pitch + cx];
}

}  // namespace

SpanFunction PlainSpan(Blend blend, Filter filter, bool tinted) {
    return kPlainSpans[static_cast<std::size_t>(blend)][static_cast<std::size_t>(filter)][tinted ? 1 : 0];
}

SpanFunction ChooseSpan(Blend blend, Filter filter, bool tinted) {
    if (vectorEnabled) {
        if (SpanFunction vector = VectorSpan(blend, filter, tinted)) {
            return vector;
        }
    }
    return PlainSpan(blend, filter, tinted);
}

void EnableVectorSpans(bool enabled) { vectorEnabled = enabled; }

bool VectorSpansEnabled() { return vectorEnabled && VectorSpansSupported(); }

bool SpanInsideBorder(const SpanArgs& a, Filter filter, int count) {
    const std::int64_t last = count > 0 ? count - 1 : 0;
    const std::int64_t u0 = a.u, u1 = a.u + static_cast<std::int64_t>(a.du) * last;
    const std::int64_t v0 = a.v, v1 = a.v + static_cast<std::int64_t>(a.dv) * last;
    // Point sampling may read texel -1 .. width; linear reads from -1 to width as well, its
    // upper-left texel from -1 to width - 1.
    const std::int64_t lowest = filter == Filter::kPoint ? -kOne : -kOne / 2;
    const std::int64_t uEnd = static_cast<std::int64_t>(a.width) * kOne + (filter == Filter::kPoint ? kOne : kOne / 2);
    const std::int64_t vEnd = static_cast<std::int64_t>(a.height) * kOne + (filter == Filter::kPoint ? kOne : kOne / 2);
    return std::min(u0, u1) >= lowest && std::max(u0, u1) < uEnd && std::min(v0, v1) >= lowest &&
           std::max(v0, v1) < vEnd;
}

void ClampedSpan(const SpanArgs& a, Blend blend, Filter filter, bool tinted, std::uint16_t* dst, int count) {
    const FactorRule srcRule = MakeFactorRule(a.srcFactor), destRule = MakeFactorRule(a.destFactor);
    std::int64_t u = a.u, v = a.v;
    for (int i = 0; i < count; ++i, u += a.du, v += a.dv) {
        std::uint32_t s;
        if (filter == Filter::kPoint) {
            s = ClampedTexel(a, u >> kFracBits, v >> kFracBits);
        } else {
            const std::int64_t su = u - kOne / 2, sv = v - kOne / 2;
            const std::int64_t x0 = su >> kFracBits, y0 = sv >> kFracBits;
            s = Bilinear(ClampedTexel(a, x0, y0), ClampedTexel(a, x0 + 1, y0), ClampedTexel(a, x0, y0 + 1),
                         ClampedTexel(a, x0 + 1, y0 + 1), static_cast<std::uint32_t>(su >> 8) & 0xFF,
                         static_cast<std::uint32_t>(sv >> 8) & 0xFF);
        }
        if (tinted) {
            s = Modulate(s, a.tint);
        }
        if ((s >> 24) == 0) {
            continue;
        }
        dst[i] = blend == Blend::kOpaque ? ToR5G6B5(s)
                                         : ToR5G6B5(BlendPixel(s, FromR5G6B5(dst[i]), srcRule, destRule));
    }
}

std::int64_t SignedArea2(const ConvexPolygon& p) {
    std::int64_t sum = 0;
    for (int i = 0; i < p.count; ++i) {
        const int j = i + 1 == p.count ? 0 : i + 1;
        sum += p.x[i] * p.y[j] - p.x[j] * p.y[i];
    }
    return sum;
}

bool OrientClockwise(ConvexPolygon& p) {
    const std::int64_t area = SignedArea2(p);
    if (area == 0) {
        return false;
    }
    if (area < 0) {
        std::reverse(p.x, p.x + p.count);
        std::reverse(p.y, p.y + p.count);
    }
    return true;
}

}  // namespace platform::raster
