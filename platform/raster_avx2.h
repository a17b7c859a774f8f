// Lane arithmetic shared by the AVX2 paths of the rasteriser (sprite spans and triangle rows):
// the same integer steps as the plain colour arithmetic of raster.h, eight pixels at a time.
// Only for files that pick these paths at run time; every function carries the target
// attribute, so nothing here runs on a processor without the instructions.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include "platform/raster.h"

#define STARWAKE_VECTOR_SPANS 1
#define STARWAKE_AVX2 __attribute__((target("avx2")))

namespace platform::raster::lanes {

// (c0 w0 + c1 w1) >> 8 on 16-bit lanes; the weights sum to 256, so nothing overflows.
STARWAKE_AVX2 inline __m256i Lerp(__m256i c0, __m256i c1, __m256i w0, __m256i w1) {
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(c0, w0), _mm256_mullo_epi16(c1, w1)), 8);
}

// Eight bilinear samples from the four texels of every pixel (A8R8G8B8 in 32-bit lanes) and
// the 8-bit weights across (fx) and down (fy) in 32-bit lanes: each channel blended on 16-bit
// lanes, first across and then down, each stage truncating by 8 bits as Bilinear does.
STARWAKE_AVX2 inline __m256i BilinearLanes(__m256i t00, __m256i t10, __m256i t01, __m256i t11, __m256i fx,
                                           __m256i fy) {
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

// Each 8-bit channel c times its factor f as c * (f + 1) >> 8, on 16-bit lanes.
STARWAKE_AVX2 inline __m256i ScaleLanes(__m256i c, __m256i factorPlusOne) {
    return _mm256_srli_epi16(_mm256_mullo_epi16(c, factorPlusOne), 8);
}

// The alpha of each pixel spread over its four 16-bit channel lanes.
STARWAKE_AVX2 inline __m256i SpreadAlpha(__m256i c16) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(c16, 0xFF), 0xFF);
}

// std::llround (halves away from zero) of four doubles below 2^51 in magnitude, as 64-bit
// lanes: the whole part truncated, the exact rest compared with one half, and the integer
// moved into the low bits of a double by adding 2^52 + 2^51, all without a rounding step.
STARWAKE_AVX2 inline __m256i RoundHalfAwayLanes(__m256d value) {
    const __m256d whole = _mm256_round_pd(value, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __m256d rest = _mm256_sub_pd(value, whole);
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d up = _mm256_and_pd(_mm256_cmp_pd(rest, _mm256_set1_pd(0.5), _CMP_GE_OQ), one);
    const __m256d down = _mm256_and_pd(_mm256_cmp_pd(rest, _mm256_set1_pd(-0.5), _CMP_LE_OQ), one);
    const __m256d magic = _mm256_set1_pd(6755399441055744.0);
    const __m256d shifted = _mm256_add_pd(_mm256_sub_pd(_mm256_add_pd(whole, up), down), magic);
    return _mm256_sub_epi64(_mm256_castpd_si256(shifted), _mm256_castpd_si256(magic));
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

}  // namespace platform::raster::lanes

#endif
