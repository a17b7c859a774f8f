// AVX2 spans for the blends the game draws most (opaque, alpha, additive), eight pixels at a
// time. They compute exactly what the plain spans compute, integer step by integer step (a
// test compares the two pixel for pixel), and are chosen at run time on processors that have
// the instructions; everything else runs the plain spans.
#include <array>
#include <cstring>

#include "platform/raster.h"
#include "platform/raster_avx2.h"

namespace platform::raster {

#if defined(STARWAKE_VECTOR_SPANS)

namespace {

using namespace lanes;

// The two texels that lie side by side at row[at[i]] and row[at[i + 1]], for pixels i and i + 1.
STARWAKE_AVX2 inline __m128i TexelPairs(const std::uint32_t* row, const std::int32_t* at, int i) {
    const __m128d first = _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + at[i])));
    return _mm_castpd_si128(_mm_loadh_pd(first, reinterpret_cast<const double*>(row + at[i + 1])));
}

// Eight bilinear samples: the four texels of every pixel read and blended. Each pixel's two
// texels of a row are read together as one 64-bit load (cheaper than gathering them one by
// one) and then sorted into left and right ones, which leaves the pixels in the order
// 0 1 4 5 2 3 6 7 until the end.
STARWAKE_AVX2 inline __m256i BilinearEight(const SpanArgs& a, __m256i u, __m256i v) {
    const __m256i half = _mm256_set1_epi32(kOne / 2);
    const __m256i su = _mm256_sub_epi32(u, half);
    const __m256i sv = _mm256_sub_epi32(v, half);
    const __m256i low8 = _mm256_set1_epi32(0xFF);
    const __m256i order = _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
    const __m256i fx = _mm256_permutevar8x32_epi32(_mm256_and_si256(_mm256_srli_epi32(su, 8), low8), order);
    const __m256i fy = _mm256_permutevar8x32_epi32(_mm256_and_si256(_mm256_srli_epi32(sv, 8), low8), order);
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(sv, kFracBits), _mm256_set1_epi32(a.pitch)),
                                           _mm256_srai_epi32(su, kFracBits));
    alignas(32) std::int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    const std::uint32_t* top = a.origin;
    const std::uint32_t* bottom = a.origin + a.pitch;
    const __m256 topLow = _mm256_castsi256_ps(_mm256_set_m128i(TexelPairs(top, at, 2), TexelPairs(top, at, 0)));
    const __m256 topHigh = _mm256_castsi256_ps(_mm256_set_m128i(TexelPairs(top, at, 6), TexelPairs(top, at, 4)));
    const __m256 bottomLow = _mm256_castsi256_ps(_mm256_set_m128i(TexelPairs(bottom, at, 2), TexelPairs(bottom, at, 0)));
    const __m256 bottomHigh = _mm256_castsi256_ps(_mm256_set_m128i(TexelPairs(bottom, at, 6), TexelPairs(bottom, at, 4)));
    const __m256i t00 = _mm256_castps_si256(_mm256_shuffle_ps(topLow, topHigh, 0x88));
    const __m256i t10 = _mm256_castps_si256(_mm256_shuffle_ps(topLow, topHigh, 0xDD));
    const __m256i t01 = _mm256_castps_si256(_mm256_shuffle_ps(bottomLow, bottomHigh, 0x88));
    const __m256i t11 = _mm256_castps_si256(_mm256_shuffle_ps(bottomLow, bottomHigh, 0xDD));
    // Back to the pixels' order: the 64-bit quarters hold pixels 0 1, 4 5, 2 3, 6 7.
    return _mm256_permute4x64_epi64(BilinearLanes(t00, t10, t01, t11, fx, fy), 0xD8);
}

// Eight texels, one per pixel, as A8R8G8B8 in 32-bit lanes.
template <Filter F>
STARWAKE_AVX2 inline __m256i SampleEight(const SpanArgs& a, std::int32_t u, std::int32_t v, __m256i uSteps,
                                         __m256i vSteps) {
    if constexpr (F == Filter::kPoint) {
        const __m256i uu = _mm256_srai_epi32(_mm256_add_epi32(_mm256_set1_epi32(u), uSteps), kFracBits);
        const __m256i vv = _mm256_srai_epi32(_mm256_add_epi32(_mm256_set1_epi32(v), vSteps), kFracBits);
        const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(vv, _mm256_set1_epi32(a.pitch)), uu);
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(a.origin), index, 4);
    } else {
        return BilinearEight(a, _mm256_add_epi32(_mm256_set1_epi32(u), uSteps),
                             _mm256_add_epi32(_mm256_set1_epi32(v), vSteps));
    }
}

// Eight pixels of a span from dst on, at texel coordinates u + uSteps and v + vSteps.
template <Blend B, Filter F, bool Tinted>
STARWAKE_AVX2 inline void SpanEight(const SpanArgs& a, std::int32_t u, std::int32_t v, __m256i uSteps, __m256i vSteps,
                                    std::uint16_t* dst) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i one16 = _mm256_set1_epi16(1);
    __m256i s = SampleEight<F>(a, u, v, uSteps, vSteps);
    __m256i sLo = _mm256_unpacklo_epi8(s, zero);
    __m256i sHi = _mm256_unpackhi_epi8(s, zero);
    if constexpr (Tinted) {
        const __m256i tint = _mm256_set1_epi32(static_cast<int>(a.tint));
        sLo = ScaleLanes(sLo, _mm256_add_epi16(_mm256_unpacklo_epi8(tint, zero), one16));
        sHi = ScaleLanes(sHi, _mm256_add_epi16(_mm256_unpackhi_epi8(tint, zero), one16));
        s = _mm256_packus_epi16(sLo, sHi);
    }
    // Texels whose alpha is 0 leave the back buffer as it is.
    const __m256i dropped = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), zero);
    __m128i* out = reinterpret_cast<__m128i*>(dst);
    const __m128i old = _mm_loadu_si128(out);
    __m256i result = s;
    if constexpr (B != Blend::kOpaque) {
        const __m256i d = Expand565Lanes(old);
        const __m256i dLo = _mm256_unpacklo_epi8(d, zero);
        const __m256i dHi = _mm256_unpackhi_epi8(d, zero);
        const __m256i aLo = SpreadAlpha(sLo);
        const __m256i aHi = SpreadAlpha(sHi);
        const __m256i srcLo = ScaleLanes(sLo, _mm256_add_epi16(aLo, one16));
        const __m256i srcHi = ScaleLanes(sHi, _mm256_add_epi16(aHi, one16));
        if constexpr (B == Blend::kAlpha) {
            const __m256i full = _mm256_set1_epi16(256);
            result = _mm256_packus_epi16(
                _mm256_add_epi16(srcLo, _mm256_srli_epi16(_mm256_mullo_epi16(dLo, _mm256_sub_epi16(full, aLo)), 8)),
                _mm256_add_epi16(srcHi, _mm256_srli_epi16(_mm256_mullo_epi16(dHi, _mm256_sub_epi16(full, aHi)), 8)));
        } else {
            // Additive: the sums saturate at 255 as they are packed.
            result = _mm256_packus_epi16(_mm256_add_epi16(srcLo, dLo), _mm256_add_epi16(srcHi, dHi));
        }
    }
    const __m128i fresh = Pack565Lanes(result);
    const __m128i keep = _mm_packs_epi32(_mm256_castsi256_si128(dropped), _mm256_extracti128_si256(dropped, 1));
    _mm_storeu_si128(out, _mm_blendv_epi8(fresh, old, keep));
}

// The last pixels of a span (all of one shorter than eight) through the eight-pixel step, on
// a copy of them: the lanes past the end repeat the last pixel's coordinates, which lie inside
// the texture, and their results are thrown away.
template <typename Eight>
STARWAKE_AVX2 inline void SpanTail(const SpanArgs& a, std::int32_t u, std::int32_t v, std::uint16_t* dst, int rest,
                                   Eight&& eight) {
    const __m256i lanes = _mm256_min_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(rest - 1));
    alignas(16) std::uint16_t pixels[8] = {};
    std::memcpy(pixels, dst, static_cast<std::size_t>(rest) * sizeof(std::uint16_t));
    eight(u, v, _mm256_mullo_epi32(lanes, _mm256_set1_epi32(a.du)), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(a.dv)), pixels);
    std::memcpy(dst, pixels, static_cast<std::size_t>(rest) * sizeof(std::uint16_t));
}

// A span eight pixels at a time through eight(u, v, uSteps, vSteps, dst), its last pixels on
// a copy through the same step.
template <typename Eight>
STARWAKE_AVX2 inline void RunSpan(const SpanArgs& a, std::uint16_t* dst, int count, Eight&& eight) {
    int i = 0;
    std::int32_t u = a.u, v = a.v;
    if (count >= 8) {
        // With eight or more pixels inside the texture, seven steps stay within it, so eight
        // steps fit in 32 bits.
        const __m256i iota = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const __m256i uSteps = _mm256_mullo_epi32(iota, _mm256_set1_epi32(a.du));
        const __m256i vSteps = _mm256_mullo_epi32(iota, _mm256_set1_epi32(a.dv));
        const auto uStride = static_cast<std::int32_t>(static_cast<std::int64_t>(a.du) * 8);
        const auto vStride = static_cast<std::int32_t>(static_cast<std::int64_t>(a.dv) * 8);
        for (; i + 8 <= count; i += 8) {
            eight(u, v, uSteps, vSteps, dst + i);
            u += uStride;
            v += vStride;
        }
    }
    if (i < count) {
        SpanTail(a, u, v, dst + i, count - i, eight);
    }
}

template <Blend B, Filter F, bool Tinted>
STARWAKE_AVX2 void VectorSpanImpl(const SpanArgs& a, std::uint16_t* dst, int count) {
    RunSpan(a, dst, count, [&](std::int32_t u, std::int32_t v, __m256i uSteps, __m256i vSteps, std::uint16_t* pixels)
                               STARWAKE_AVX2 { SpanEight<B, F, Tinted>(a, u, v, uSteps, vSteps, pixels); });
}

// The additive span of a sprite whose tint keeps one colour channel, over an opaque texture:
// the channel is filtered from each pixel's quad (one gathered word holds its four texels),
// tinted, weighted by the one alpha all its texels share, and added to that channel of the
// back buffer alone; the other channels add nothing and are stored as they were.
template <int Channel>
STARWAKE_AVX2 inline void ChannelEight(const SpanArgs& a, std::int32_t u, std::int32_t v, __m256i uSteps, __m256i vSteps,
                                       std::uint16_t* dst) {
    constexpr int kShift = Channel == 2 ? 11 : Channel == 1 ? 5 : 0;  // the channel's place in 565
    constexpr int kBits = Channel == 1 ? 6 : 5;
    constexpr int kMask = ((1 << kBits) - 1) << kShift;
    const __m256i low8 = _mm256_set1_epi32(0xFF);
    const __m256i pairs = _mm256_set1_epi32(0x00FF00FF);
    const __m256i fullPair = _mm256_set1_epi32(0x01000100);
    const __m256i full = _mm256_set1_epi32(256);
    // Each texel's alpha is 255, so after the tint every pixel's alpha is Scale(255, tint alpha).
    const __m256i tintFactor = _mm256_set1_epi32(static_cast<int>(((a.tint >> (8 * Channel)) & 0xFF) + 1));
    const __m256i alphaFactor = _mm256_set1_epi32(static_cast<int>(Scale(255, a.tint >> 24) + 1));
    // Texel centres sit at half coordinates: the steps start half a texel back.
    const __m256i half = _mm256_set1_epi32(kOne / 2);
    const __m256i su = _mm256_sub_epi32(_mm256_add_epi32(_mm256_set1_epi32(u), uSteps), half);
    const __m256i sv = _mm256_sub_epi32(_mm256_add_epi32(_mm256_set1_epi32(v), vSteps), half);
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(sv, kFracBits), _mm256_set1_epi32(a.pitch)),
                                           _mm256_srai_epi32(su, kFracBits));
    const __m256i quad = _mm256_i32gather_epi32(reinterpret_cast<const int*>(a.quads), index, 4);
    // Across: the upper-left and lower-left texels in the 16-bit halves, times 256 - fx,
    // plus the right-hand ones times fx; then down with a multiply-add.
    const __m256i fx = _mm256_and_si256(_mm256_srli_epi32(su, 8), low8);
    const __m256i fy = _mm256_and_si256(_mm256_srli_epi32(sv, 8), low8);
    const __m256i fxPair = _mm256_or_si256(fx, _mm256_slli_epi32(fx, 16));
    const __m256i across = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(quad, pairs), _mm256_sub_epi16(fullPair, fxPair)),
                         _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(quad, 8), pairs), fxPair)),
        8);
    const __m256i down = _mm256_or_si256(_mm256_sub_epi32(full, fy), _mm256_slli_epi32(fy, 16));
    const __m256i filtered = _mm256_srli_epi32(_mm256_madd_epi16(across, down), 8);
    // Tint and alpha: c (f + 1) >> 8 twice; every product fits the low 16 bits.
    const __m256i tinted = _mm256_srli_epi32(_mm256_mullo_epi16(filtered, tintFactor), 8);
    const __m256i added = _mm256_srli_epi32(_mm256_mullo_epi16(tinted, alphaFactor), 8);
    const __m128i add = _mm_packus_epi32(_mm256_castsi256_si128(added), _mm256_extracti128_si256(added, 1));
    // The back buffer's channel widened to 8 bits, the sum held at 255, narrowed back.
    __m128i* out = reinterpret_cast<__m128i*>(dst);
    const __m128i old = _mm_loadu_si128(out);
    const __m128i field = _mm_and_si128(_mm_srli_epi16(old, kShift), _mm_set1_epi16((1 << kBits) - 1));
    const __m128i wide = _mm_or_si128(_mm_slli_epi16(field, 8 - kBits), _mm_srli_epi16(field, 2 * kBits - 8));
    const __m128i sum = _mm_min_epu16(_mm_add_epi16(wide, add), _mm_set1_epi16(255));
    const __m128i keep = _mm_set1_epi16(static_cast<short>(~kMask));
    _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(old, keep), _mm_slli_epi16(_mm_srli_epi16(sum, 8 - kBits), kShift)));
}

template <int Channel>
STARWAKE_AVX2 void AdditiveChannelSpanImpl(const SpanArgs& a, std::uint16_t* dst, int count) {
    RunSpan(a, dst, count, [&](std::int32_t u, std::int32_t v, __m256i uSteps, __m256i vSteps, std::uint16_t* pixels)
                               STARWAKE_AVX2 { ChannelEight<Channel>(a, u, v, uSteps, vSteps, pixels); });
}

using VectorTable = std::array<std::array<std::array<SpanFunction, 2>, 2>, 3>;

template <Blend B, Filter F>
constexpr std::array<SpanFunction, 2> TintPair() {
    return {&VectorSpanImpl<B, F, false>, &VectorSpanImpl<B, F, true>};
}
template <Blend B>
constexpr std::array<std::array<SpanFunction, 2>, 2> FilterPairs() {
    return {TintPair<B, Filter::kPoint>(), TintPair<B, Filter::kLinear>()};
}

constexpr VectorTable kVectorSpans = {FilterPairs<Blend::kOpaque>(), FilterPairs<Blend::kAlpha>(),
                                      FilterPairs<Blend::kAdditive>()};

}  // namespace

bool VectorSpansSupported() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

SpanFunction VectorSpan(Blend blend, Filter filter, bool tinted) {
    if (!VectorSpansSupported() || blend == Blend::kGeneric) {
        return nullptr;
    }
    return kVectorSpans[static_cast<std::size_t>(blend)][static_cast<std::size_t>(filter)][tinted ? 1 : 0];
}

SpanFunction AdditiveChannelSpan(int channel) {
    if (!VectorSpansEnabled()) {
        return nullptr;
    }
    switch (channel) {
        case 0: return &AdditiveChannelSpanImpl<0>;
        case 1: return &AdditiveChannelSpanImpl<1>;
        case 2: return &AdditiveChannelSpanImpl<2>;
        default: return nullptr;
    }
}

#else

SpanFunction VectorSpan(Blend, Filter, bool) { return nullptr; }

SpanFunction AdditiveChannelSpan(int) { return nullptr; }

bool VectorSpansSupported() { return false; }

#endif

}  // namespace platform::raster
