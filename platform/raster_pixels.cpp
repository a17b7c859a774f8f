#include "platform/raster_pixels.h"

#include <array>
#include <utility>

#include "platform/device.h"
#include "platform/raster_avx2.h"

namespace platform::raster {

namespace {

// What a draw does with depth: nothing, a test, or a test and a write where the pixel is drawn.
enum class Depth { kOff, kTest, kTestAndWrite };
// Where a pixel's colour comes from: the lit colour alone, or a texel (point or linear
// sampled) that the lit colour modulates. Textures wrap by masks on power-of-two sizes (the
// loader makes those), by remainders on others.
enum class Texels { kNone, kPoint, kLinear, kPointRemainder, kLinearRemainder, kCount };

constexpr bool IsLinear(Texels t) { return t == Texels::kLinear || t == Texels::kLinearRemainder; }
constexpr bool IsMasked(Texels t) { return t == Texels::kPoint || t == Texels::kLinear; }

// The pixel pipeline of every row shader, on one pixel (OnePixel) or eight side by side
// (EightPixels): each step is a member of Pixels, so the order of the steps and the states
// that pick them are written once for both. A test that no pixel passes ends it. Always
// inlined, so the eight-pixel instance runs inside its AVX2 row shader; the steps keep their
// values in Pixels rather than passing them, as vector values cannot cross into code built
// for every processor.
template <Depth D, Texels T, bool AlphaTested, bool Blended, class Pixels>
[[gnu::always_inline]] inline void ShadePixels(Pixels& pixels) {
    if constexpr (D != Depth::kOff) {
        if (!pixels.TestDepth()) {
            return;
        }
    }
    if constexpr (T == Texels::kNone) {
        pixels.TakeLit();
    } else {
        pixels.template TakeTexel<T>();
    }
    if constexpr (AlphaTested) {
        if (!pixels.TestAlpha()) {
            return;
        }
    }
    if constexpr (Blended) {
        pixels.Blend();
    }
    pixels.WriteColour();
    if constexpr (D == Depth::kTestAndWrite) {
        pixels.WriteDepth();
    }
}

// The attributes at a row's first pixel, 16.16.
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

// The texel under 16.16 coordinates, the texture wrapped around.
template <Texels T>
std::uint32_t SampleWrapped(const TriangleStates& s, std::int64_t u, std::int64_t v) {
    const Texture& t = *s.texture;
    const std::uint32_t* origin = t.Origin();
    auto wrapX = [&](std::int64_t x) {
        return IsMasked(T) ? static_cast<int>(x & s.maskX) : static_cast<int>(((x % t.width) + t.width) % t.width);
    };
    auto wrapY = [&](std::int64_t y) {
        return IsMasked(T) ? static_cast<int>(y & s.maskY) : static_cast<int>(((y % t.height) + t.height) % t.height);
    };
    if constexpr (!IsLinear(T)) {
        return origin[static_cast<std::ptrdiff_t>(wrapY(v >> kFracBits)) * t.pitch + wrapX(u >> kFracBits)];
    } else {
        const std::int64_t su = u - kOne / 2, sv = v - kOne / 2;
        const std::int64_t x0 = su >> kFracBits, y0 = sv >> kFracBits;
        const int left = wrapX(x0), right = wrapX(x0 + 1);
        const std::uint32_t* top = origin + static_cast<std::ptrdiff_t>(wrapY(y0)) * t.pitch;
        const std::uint32_t* bottom = origin + static_cast<std::ptrdiff_t>(wrapY(y0 + 1)) * t.pitch;
        return Bilinear(top[left], top[right], bottom[left], bottom[right], static_cast<std::uint32_t>(su >> 8) & 0xFF,
                        static_cast<std::uint32_t>(sv >> 8) & 0xFF);
    }
}

// One pixel at a time, its attributes in 64 bits and its depth clamped to the buffer's range:
// the pipeline on every processor.
struct OnePixel {
    const TriangleStates& states;
    std::uint16_t* colours;  // the row's pixels in the back buffer and the depth buffer
    std::uint16_t* depths;
    int x;
    std::int64_t z, u, v;  // at pixel x, 16.16
    std::int64_t zStep, uStep, vStep;
    std::uint32_t depth = 0, colour = 0;  // of pixel x, once worked out

    bool TestDepth() {
        depth = static_cast<std::uint32_t>(std::clamp<std::int64_t>((z + kOne / 2) >> kFracBits, 0, 65535));
        return Passes(states.depthRule, depth, depths[x]);
    }
    void TakeLit() { colour = states.lit; }
    template <Texels T>
    void TakeTexel() {
        colour = Modulate(SampleWrapped<T>(states, u, v), states.lit);
    }
    bool TestAlpha() const { return Passes(states.alphaRule, colour >> 24, states.alphaRef); }
    void Blend() { colour = BlendPixel(colour, FromR5G6B5(colours[x]), states.srcRule, states.destRule); }
    void WriteColour() { colours[x] = ToR5G6B5(colour); }
    void WriteDepth() { depths[x] = static_cast<std::uint16_t>(depth); }
    void Step() {
        ++x;
        z += zStep;
        u += uStep;
        v += vStep;
    }
};

template <Depth D, Texels T, bool AlphaTested, bool Blended>
void ShadeOneByOne(const TriangleStates& s, const TrianglePlanes& p, int y, int xBegin, int xEnd, const RowStart& r) {
    const std::size_t row = static_cast<std::size_t>(y) * kScreenWidth;
    OnePixel pixel{s, s.colours + row, s.depths + row, xBegin, r.z, r.u, r.v, p.zStep, p.uStep, p.vStep};
    for (; pixel.x < xEnd; pixel.Step()) {
        ShadePixels<D, T, AlphaTested, Blended>(pixel);
    }
}

template <Depth D, Texels T, bool AlphaTested, bool Blended>
void ShadeRowPlain(const TriangleStates& s, const TrianglePlanes& p, int y, int xBegin, int xEnd) {
    ShadeOneByOne<D, T, AlphaTested, Blended>(s, p, y, xBegin, xEnd, StartRow(p, y, xBegin, T != Texels::kNone));
}

#if defined(STARWAKE_VECTOR_SPANS)

// A CompareRule in lanes.
struct CompareLanes {
    __m256i flip, threshold, invert;
};

STARWAKE_AVX2 inline CompareLanes MakeCompareLanes(const CompareRule& rule) {
    return {_mm256_set1_epi32(static_cast<int>(rule.flip)), _mm256_set1_epi32(rule.threshold),
            _mm256_set1_epi32(rule.invert ? -1 : 0)};
}

// All ones in the lanes whose value passes the rule against the reference.
STARWAKE_AVX2 inline __m256i PassLanes(const CompareLanes& rule, __m256i value, __m256i reference) {
    const __m256i difference = _mm256_xor_si256(_mm256_sub_epi32(value, reference), rule.flip);
    return _mm256_xor_si256(_mm256_cmpgt_epi32(rule.threshold, difference), rule.invert);
}

// A FactorRule on 16-bit channel lanes.
struct FactorLanes {
    __m256i source, alpha, dest, invert;
};

STARWAKE_AVX2 inline FactorLanes MakeFactorLanes(const FactorRule& rule) {
    return {_mm256_set1_epi16(static_cast<short>(rule.source)), _mm256_set1_epi16(static_cast<short>(rule.alpha)),
            _mm256_set1_epi16(static_cast<short>(rule.dest)), _mm256_set1_epi16(static_cast<short>(rule.invert))};
}

// The sums of BlendPixel for the 16-bit channel lanes of four pixels.
STARWAKE_AVX2 inline __m256i BlendSums(__m256i s, __m256i d, const FactorLanes& srcRule, const FactorLanes& destRule) {
    using lanes::ScaleLanes;
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i sa = lanes::SpreadAlpha(s);
    auto factor = [&](const FactorLanes& f) STARWAKE_AVX2 {
        const __m256i picked = _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(s, f.source), _mm256_and_si256(sa, f.alpha)),
                                               _mm256_and_si256(d, f.dest));
        return _mm256_add_epi16(_mm256_xor_si256(picked, f.invert), one);
    };
    return _mm256_add_epi16(ScaleLanes(s, factor(srcRule)), ScaleLanes(d, factor(destRule)));
}

// BlendPixel on eight pixels: each channel scaled by its factors, summed, and held at 255 as
// the sums are packed.
STARWAKE_AVX2 inline __m256i BlendLanes(__m256i src, __m256i dest, const FactorLanes& srcRule, const FactorLanes& destRule) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(
        BlendSums(_mm256_unpacklo_epi8(src, zero), _mm256_unpacklo_epi8(dest, zero), srcRule, destRule),
        BlendSums(_mm256_unpackhi_epi8(src, zero), _mm256_unpackhi_epi8(dest, zero), srcRule, destRule));
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
    _mm256_store_si256(reinterpret_cast<__m256i*>(fixed), lanes::RoundHalfAwayLanes(_mm256_mul_pd(value, _mm256_set1_pd(kOne))));
    RowStart r;
    r.z = fixed[0];
    if (textured) {
        r.u = fixed[1];
        r.v = fixed[2];
    }
    return r;
}

// Eight pixels at a time in 32-bit lanes, for textures wrapped by masks (or none). The low 32
// bits of the 16.16 texture coordinates carry every bit the masks and weights read, so they
// step in 32-bit lanes; depth does too, in rows where no pixel's depth needs clamping. The
// lanes past the row's end pass nothing, but their pixels are read and written back as they
// were, so a row must not end within eight pixels of the buffers' end.
struct EightPixels {
    std::uint16_t* colours;  // the row's pixels in the back buffer and the depth buffer
    std::uint16_t* depths;
    int x, xEnd;
    __m256i z, u, v;  // at the pixels x .. x + 7
    __m256i zStride, uStride, vStride;
    // The draw's states in lanes.
    CompareLanes depthRule, alphaRule;
    FactorLanes srcRule, destRule;
    __m256i lit, litLo, litHi;  // the lit colour, and its channels + 1 on 16-bit lanes
    __m256i alphaRef, maskX, maskY, pitch;
    const int* origin;
    // The group in flight: the lanes that still pass, their depths and colours.
    __m256i pass, depth, colour;
    __m128i oldDepth;

    STARWAKE_AVX2 void Start(const TriangleStates& s, const TrianglePlanes& p, std::size_t row, int xBegin, int rowEnd,
                             const RowStart& r, bool linear) {
        colours = s.colours + row;
        depths = s.depths + row;
        x = xBegin;
        xEnd = rowEnd;
        constexpr std::int64_t kHalf = kOne / 2;
        // Linear sampling reads from half a texel back.
        const std::int64_t sampleBack = linear ? kHalf : 0;
        z = AttributeLanes(r.z + kHalf, p.zStep);
        u = AttributeLanes(r.u - sampleBack, p.uStep);
        v = AttributeLanes(r.v - sampleBack, p.vStep);
        zStride = AttributeStride(p.zStep);
        uStride = AttributeStride(p.uStep);
        vStride = AttributeStride(p.vStep);
        depthRule = MakeCompareLanes(s.depthRule);
        alphaRule = MakeCompareLanes(s.alphaRule);
        srcRule = MakeFactorLanes(s.srcRule);
        destRule = MakeFactorLanes(s.destRule);
        const __m256i zero = _mm256_setzero_si256();
        lit = _mm256_set1_epi32(static_cast<int>(s.lit));
        litLo = _mm256_add_epi16(_mm256_unpacklo_epi8(lit, zero), _mm256_set1_epi16(1));
        litHi = _mm256_add_epi16(_mm256_unpackhi_epi8(lit, zero), _mm256_set1_epi16(1));
        alphaRef = _mm256_set1_epi32(static_cast<int>(s.alphaRef));
        maskX = _mm256_set1_epi32(s.maskX);
        maskY = _mm256_set1_epi32(s.maskY);
        pitch = _mm256_set1_epi32(s.texture ? s.texture->pitch : 0);
        origin = s.texture ? reinterpret_cast<const int*>(s.texture->Origin()) : nullptr;
        BeginGroup();
    }
    STARWAKE_AVX2 void BeginGroup() { pass = _mm256_cmpgt_epi32(_mm256_set1_epi32(xEnd - x), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)); }
    STARWAKE_AVX2 void Step() {
        x += 8;
        z = _mm256_add_epi32(z, zStride);
        u = _mm256_add_epi32(u, uStride);
        v = _mm256_add_epi32(v, vStride);
        BeginGroup();
    }

    STARWAKE_AVX2 bool TestDepth() {
        depth = _mm256_srli_epi32(z, kFracBits);
        oldDepth = _mm_loadu_si128(reinterpret_cast<const __m128i*>(depths + x));
        pass = _mm256_and_si256(pass, PassLanes(depthRule, depth, _mm256_cvtepu16_epi32(oldDepth)));
        return !_mm256_testz_si256(pass, pass);
    }
    STARWAKE_AVX2 void TakeLit() { colour = lit; }
    template <Texels T>
    STARWAKE_AVX2 void TakeTexel() {
        static_assert(IsMasked(T), "the vector pixels wrap by masks only");
        using lanes::ScaleLanes;
        const __m256i zero = _mm256_setzero_si256();
        __m256i texel;
        if constexpr (IsLinear(T)) {
            const __m256i one = _mm256_set1_epi32(1), low8 = _mm256_set1_epi32(0xFF);
            const __m256i x0 = _mm256_and_si256(_mm256_srli_epi32(u, kFracBits), maskX);
            const __m256i x1 = _mm256_and_si256(_mm256_add_epi32(x0, one), maskX);
            const __m256i y0 = _mm256_and_si256(_mm256_srli_epi32(v, kFracBits), maskY);
            const __m256i row0 = _mm256_mullo_epi32(y0, pitch);
            const __m256i row1 = _mm256_mullo_epi32(_mm256_and_si256(_mm256_add_epi32(y0, one), maskY), pitch);
            texel = lanes::BilinearLanes(_mm256_i32gather_epi32(origin, _mm256_add_epi32(row0, x0), 4),
                                         _mm256_i32gather_epi32(origin, _mm256_add_epi32(row0, x1), 4),
                                         _mm256_i32gather_epi32(origin, _mm256_add_epi32(row1, x0), 4),
                                         _mm256_i32gather_epi32(origin, _mm256_add_epi32(row1, x1), 4),
                                         _mm256_and_si256(_mm256_srli_epi32(u, 8), low8),
                                         _mm256_and_si256(_mm256_srli_epi32(v, 8), low8));
        } else {
            const __m256i column = _mm256_and_si256(_mm256_srli_epi32(u, kFracBits), maskX);
            const __m256i row = _mm256_and_si256(_mm256_srli_epi32(v, kFracBits), maskY);
            texel = _mm256_i32gather_epi32(origin, _mm256_add_epi32(_mm256_mullo_epi32(row, pitch), column), 4);
        }
        colour = _mm256_packus_epi16(ScaleLanes(_mm256_unpacklo_epi8(texel, zero), litLo),
                                     ScaleLanes(_mm256_unpackhi_epi8(texel, zero), litHi));
    }
    STARWAKE_AVX2 bool TestAlpha() {
        pass = _mm256_and_si256(pass, PassLanes(alphaRule, _mm256_srli_epi32(colour, 24), alphaRef));
        return !_mm256_testz_si256(pass, pass);
    }
    STARWAKE_AVX2 void Blend() {
        const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colours + x));
        colour = BlendLanes(colour, lanes::Expand565Lanes(old), srcRule, destRule);
    }
    STARWAKE_AVX2 __m128i PassingPixels() const {
        return _mm_packs_epi32(_mm256_castsi256_si128(pass), _mm256_extracti128_si256(pass, 1));
    }
    STARWAKE_AVX2 void WriteColour() {
        auto* at = reinterpret_cast<__m128i*>(colours + x);
        _mm_storeu_si128(at, _mm_blendv_epi8(_mm_loadu_si128(at), lanes::Pack565Lanes(colour), PassingPixels()));
    }
    STARWAKE_AVX2 void WriteDepth() {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(depths + x), _mm_blendv_epi8(oldDepth, NarrowLanes(depth), PassingPixels()));
    }
};

// The row eight pixels at a time where its depths fit 32-bit lanes unclamped and its last
// group stays inside the buffers; one by one otherwise. Flattened: the steps of EightPixels are
// inlined here, where the instructions they need are allowed, and keep its lanes in registers.
template <Depth D, Texels T, bool AlphaTested, bool Blended>
[[gnu::flatten]] STARWAKE_AVX2 void ShadeRowVector(const TriangleStates& s, const TrianglePlanes& p, int y, int xBegin, int xEnd) {
    const RowStart r = StartRowLanes(p, y, xBegin, T != Texels::kNone);
    const std::size_t row = static_cast<std::size_t>(y) * kScreenWidth;
    const int count = xEnd - xBegin;
    bool fits = row + static_cast<std::size_t>(xBegin) + (static_cast<std::size_t>(count) + 7) / 8 * 8 <= s.pixelCount;
    if constexpr (D != Depth::kOff) {
        const std::int64_t zFirst = r.z + kOne / 2, zLast = r.z + (count - 1) * p.zStep + kOne / 2;
        fits = fits && std::min(zFirst, zLast) >= 0 && std::max(zFirst, zLast) <= 0xFFFFFFFF;
    }
    if (!fits) {
        ShadeOneByOne<D, T, AlphaTested, Blended>(s, p, y, xBegin, xEnd, r);
        return;
    }
    EightPixels pixels;
    pixels.Start(s, p, row, xBegin, xEnd, r, IsLinear(T));
    for (; pixels.x < xEnd; pixels.Step()) {
        ShadePixels<D, T, AlphaTested, Blended>(pixels);
    }
}

#endif

// ---- The tables of row shaders ----

constexpr std::size_t kTexelKinds = static_cast<std::size_t>(Texels::kCount);
constexpr std::size_t kShaderCount = 3 * kTexelKinds * 2 * 2;

constexpr std::size_t ShaderIndex(Depth depth, Texels texels, bool alphaTested, bool blended) {
    return ((static_cast<std::size_t>(depth) * kTexelKinds + static_cast<std::size_t>(texels)) * 2 + (alphaTested ? 1 : 0)) * 2 +
           (blended ? 1 : 0);
}

// The states of the shader at index I of a table.
template <std::size_t I>
struct ShaderStates {
    static constexpr auto depth = static_cast<Depth>(I / 4 / kTexelKinds);
    static constexpr auto texels = static_cast<Texels>(I / 4 % kTexelKinds);
    static constexpr bool alphaTested = I / 2 % 2 != 0;
    static constexpr bool blended = I % 2 != 0;
};

template <std::size_t I>
constexpr RowShader PlainShader() {
    using S = ShaderStates<I>;
    static_assert(ShaderIndex(S::depth, S::texels, S::alphaTested, S::blended) == I);
    return &ShadeRowPlain<S::depth, S::texels, S::alphaTested, S::blended>;
}

template <std::size_t... I>
constexpr std::array<RowShader, kShaderCount> PlainShaders(std::index_sequence<I...>) {
    return {PlainShader<I>()...};
}
constexpr auto kPlainShaders = PlainShaders(std::make_index_sequence<kShaderCount>());

#if defined(STARWAKE_VECTOR_SPANS)
// Textures wrapped by remainders stay one pixel at a time.
template <std::size_t I>
constexpr RowShader VectorShader() {
    using S = ShaderStates<I>;
    if constexpr (S::texels == Texels::kNone || IsMasked(S::texels)) {
        return &ShadeRowVector<S::depth, S::texels, S::alphaTested, S::blended>;
    } else {
        return PlainShader<I>();
    }
}

template <std::size_t... I>
constexpr std::array<RowShader, kShaderCount> VectorShaders(std::index_sequence<I...>) {
    return {VectorShader<I>()...};
}
constexpr auto kVectorShaders = VectorShaders(std::make_index_sequence<kShaderCount>());
#endif

}  // namespace

TriangleStates ReadTriangleStates(std::uint32_t lit, const Texture* texture) {
    const auto& rs = device.renderStates;
    TriangleStates s;
    s.cull = rs[kRsCullMode];
    s.lit = lit;
    s.texture = texture;
    if (texture != nullptr) {
        s.maskX = (texture->width & (texture->width - 1)) == 0 ? texture->width - 1 : -1;
        s.maskY = (texture->height & (texture->height - 1)) == 0 ? texture->height - 1 : -1;
    }
    s.depthRule = MakeCompareRule(rs[kRsZFunc]);
    s.alphaRule = MakeCompareRule(rs[kRsAlphaFunc]);
    s.alphaRef = rs[kRsAlphaRef] & 0xFF;
    s.srcRule = MakeFactorRule(rs[kRsSrcBlend]);
    s.destRule = MakeFactorRule(rs[kRsDestBlend]);
    s.colours = device.backBuffer.data();
    s.depths = device.depthBuffer.data();
    s.pixelCount = std::min(device.backBuffer.size(), device.depthBuffer.size());

    const Depth depth = rs[kRsZEnable] == 0 ? Depth::kOff : rs[kRsZWriteEnable] != 0 ? Depth::kTestAndWrite : Depth::kTest;
    const bool alphaTested = rs[kRsAlphaTestEnable] != 0;
    const bool blended = rs[kRsAlphaBlendEnable] != 0;
    const bool masked = s.maskX >= 0 && s.maskY >= 0;
    auto texels = [&](std::uint32_t filterState) {
        if (texture == nullptr) {
            return Texels::kNone;
        }
        const bool linear = GetTextureStageState(0, filterState) >= kFilterLinear;
        if (masked) {
            return linear ? Texels::kLinear : Texels::kPoint;
        }
        return linear ? Texels::kLinearRemainder : Texels::kPointRemainder;
    };
#if defined(STARWAKE_VECTOR_SPANS)
    const auto& shaders = VectorSpansEnabled() ? kVectorShaders : kPlainShaders;
#else
    const auto& shaders = kPlainShaders;
#endif
    s.magnified = shaders[ShaderIndex(depth, texels(kTssMagFilter), alphaTested, blended)];
    s.minified = shaders[ShaderIndex(depth, texels(kTssMinFilter), alphaTested, blended)];
    return s;
}

}  // namespace platform::raster
