// AVX2 spans for the blends the game draws most (opaque, alpha, additive), eight pixels at a
// time. They compute exactly what the plain spans compute, integer step by integer step (a
// test compares the two pixel for pixel), and are chosen at run time on processors that have
// the instructions; everything else runs the plain spans.
#include <array>

#include "platform/raster.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define STARWAKE_VECTOR_SPANS 1
#endif

namespace platform::raster {

#if defined(STARWAKE_VECTOR_SPANS)

namespace {

#define STARWAKE_AVX2 __attribute__((target("avx2")))

// (c0 w0 + c1 w1) >> 8 on 16-bit lanes; the weights sum to 256, so nothing overflows.
STARWAKE_AVX2 inline __m256i Lerp(__m256i c0, __m256i c1, __m256i w0, __m256i w1) {
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(c0, w0), _mm256_mullo_epi16(c1, w1)), 8);
}

// Eight bilinear samples: the four texels of every pixel gathered, then each channel blended
// on 16-bit lanes, first across and then down, each stage truncating by 8 bits as the plain
// filter does.
STARWAKE_AVX2 inline __m256i BilinearEight(const SpanArgs& a, __m256i u, __m256i v) {
    const __m256i half = _mm256_set1_epi32(kOne / 2);
    const __m256i su = _mm256_sub_epi32(u, half);
    const __m256i sv = _mm256_sub_epi32(v, half);
    const __m256i low8 = _mm256_set1_epi32(0xFF);
    const __m256i fx = _mm256_and_si256(_mm256_srli_epi32(su, 8), low8);
    const __m256i fy = _mm256_and_si256(_mm256_srli_epi32(sv, 8), low8);
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(sv, kFracBits), _mm256_set1_epi32(a.pitch)),
                                           _mm256_srai_epi32(su, kFracBits));
    const int* top = reinterpret_cast<const int*>(a.origin);
    const int* bottom = reinterpret_cast<const int*>(a.origin + a.pitch);
    const __m256i t00 = _mm256_i32gather_epi32(top, index, 4);
    const __m256i t10 = _mm256_i32gather_epi32(top + 1, index, 4);
    const __m256i t01 = _mm256_i32gather_epi32(bottom, index, 4);
    const __m256i t11 = _mm256_i32gather_epi32(bottom + 1, index, 4);
    // Each pixel's weight over its four channel lanes, in the order unpacking leaves them.
    const __m256i spreadLo = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5,
                                              0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5);
    const __m256i spreadHi = _mm256_setr_epi8(8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13,
                                              8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13);
    const __m256i full = _mm256_set1_epi16(256);
    const __m256i zero = _mm256_setzero_si256();
    __m256i wx = _mm256_shuffle_epi8(fx, spreadLo);
    __m256i wy = _mm256_shuffle_epi8(fy, spreadLo);
    const __m256i lo = Lerp(Lerp(_mm256_unpacklo_epi8(t00, zero), _mm256_unpacklo_epi8(t10, zero), _mm256_sub_epi16(full, wx), wx),
                            Lerp(_mm256_unpacklo_epi8(t01, zero), _mm256_unpacklo_epi8(t11, zero), _mm256_sub_epi16(full, wx), wx),
                            _mm256_sub_epi16(full, wy), wy);
    wx = _mm256_shuffle_epi8(fx, spreadHi);
    wy = _mm256_shuffle_epi8(fy, spreadHi);
    const __m256i hi = Lerp(Lerp(_mm256_unpackhi_epi8(t00, zero), _mm256_unpackhi_epi8(t10, zero), _mm256_sub_epi16(full, wx), wx),
                            Lerp(_mm256_unpackhi_epi8(t01, zero), _mm256_unpackhi_epi8(t11, zero), _mm256_sub_epi16(full, wx), wx),
                            _mm256_sub_epi16(full, wy), wy);
    return _mm256_packus_epi16(lo, hi);
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

// Each 8-bit channel c times its factor f as c * (f + 1) >> 8, on 16-bit lanes.
STARWAKE_AVX2 inline __m256i ScaleLanes(__m256i c, __m256i factorPlusOne) {
    return _mm256_srli_epi16(_mm256_mullo_epi16(c, factorPlusOne), 8);
}

// The alpha of each pixel spread over its four 16-bit channel lanes.
STARWAKE_AVX2 inline __m256i SpreadAlpha(__m256i c16) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(c16, 0xFF), 0xFF);
}

STARWAKE_AVX2 inline __m256i Expand565Lanes(__m128i pixels) {
    const __m256i d = _mm256_cvtepu16_epi32(pixels);
    const __m256i r = _mm256_and_si256(_mm256_srli_epi32(d, 11), _mm256_set1_epi32(31));
    const __m256i g = _mm256_and_si256(_mm256_srli_epi32(d, 5), _mm256_set1_epi32(63));
    const __m256i b = _mm256_and_si256(d, _mm256_set1_epi32(31));
    const __m256i r8 = _mm256_or_si256(_mm256_slli_epi32(r, 3), _mm256_srli_epi32(r, 2));
    const __m256i g8 = _mm256_or_si256(_mm256_slli_epi32(g, 2), _mm256_srli_epi32(g, 4));
    const __m256i b8 = _mm256_or_si256(_mm256_slli_epi32(b, 3), _mm256_srli_epi32(b, 2));
    return _mm256_or_si256(_mm256_or_si256(_mm256_set1_epi32(static_cast<int>(0xFF000000u)), _mm256_slli_epi32(r8, 16)),
                           _mm256_or_si256(_mm256_slli_epi32(g8, 8), b8));
}

STARWAKE_AVX2 inline __m128i Pack565Lanes(__m256i argb) {
    const __m256i r = _mm256_and_si256(_mm256_srli_epi32(argb, 8), _mm256_set1_epi32(0xF800));
    const __m256i g = _mm256_and_si256(_mm256_srli_epi32(argb, 5), _mm256_set1_epi32(0x07E0));
    const __m256i b = _mm256_and_si256(_mm256_srli_epi32(argb, 3), _mm256_set1_epi32(0x001F));
    // Packing works within each half: the words land in the first and third quarters.
    const __m256i words = _mm256_packus_epi32(_mm256_or_si256(_mm256_or_si256(r, g), b), _mm256_setzero_si256());
    return _mm256_castsi256_si128(_mm256_permute4x64_epi64(words, 0x08));
}

template <Blend B, Filter F, bool Tinted>
STARWAKE_AVX2 void VectorSpanImpl(const SpanArgs& a, std::uint16_t* dst, int count) {
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
        const __m256i zero = _mm256_setzero_si256();
        const __m256i one16 = _mm256_set1_epi16(1);
        const __m256i tint = _mm256_set1_epi32(static_cast<int>(a.tint));
        const __m256i tintLo = _mm256_add_epi16(_mm256_unpacklo_epi8(tint, zero), one16);
        const __m256i tintHi = _mm256_add_epi16(_mm256_unpackhi_epi8(tint, zero), one16);
        for (; i + 8 <= count; i += 8) {
            __m256i s = SampleEight<F>(a, u, v, uSteps, vSteps);
            __m256i sLo = _mm256_unpacklo_epi8(s, zero);
            __m256i sHi = _mm256_unpackhi_epi8(s, zero);
            if constexpr (Tinted) {
                sLo = ScaleLanes(sLo, tintLo);
                sHi = ScaleLanes(sHi, tintHi);
                s = _mm256_packus_epi16(sLo, sHi);
            }
            // Texels whose alpha is 0 leave the back buffer as it is.
            const __m256i dropped = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), zero);
            __m128i* out = reinterpret_cast<__m128i*>(dst + i);
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
            u += uStride;
            v += vStride;
        }
    }
    if (i < count) {
        SpanArgs rest = a;
        rest.u = u;
        rest.v = v;
        PlainSpan(B, F, Tinted)(rest, dst + i, count - i);
    }
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

#else

SpanFunction VectorSpan(Blend, Filter, bool) { return nullptr; }

bool VectorSpansSupported() { return false; }

#endif

}  // namespace platform::raster
