#include "platform/frame_scaler.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/pixel_format.h"
#include "platform/raster_avx2.h"

namespace platform {

namespace {

constexpr int kWeightBits = 6;
constexpr int kWeightOne = 1 << kWeightBits;
constexpr int kWideBlock = 16;
// A widened source row is read sixteen pixels at a time from any column of the row and the
// one after it.
constexpr int kWideRowLength = kFrameWidth + kWideBlock + 1;
// Changed rows this close together are scaled as one band: the rows between cost less than
// scaling the neighbour rows of two bands and presenting two rectangles.
constexpr int kBandGap = 2;
// A frame row compared 64 bits (four pixels) at a time.
constexpr int kPixelsPerWord = 4;
constexpr int kWordsPerRow = kFrameWidth / kPixelsPerWord;

// Each output pixel's centre mapped back into the source, rounded to 64ths: its left (upper)
// neighbour and the weight of the right (lower) one. Centres before the first source centre
// take the first pixel whole; beyond the last, the last pixel whole.
void MapAxis(int outputLength, int sourceLength, std::vector<std::int32_t>& index,
             std::vector<std::uint8_t>& weight) {
    index.resize(static_cast<std::size_t>(outputLength));
    weight.resize(static_cast<std::size_t>(outputLength));
    for (int o = 0; o < outputLength; ++o) {
        // (o + 1/2) * source / output - 1/2, times 64, over a common denominator of 2 * output.
        const std::int64_t numerator =
            (static_cast<std::int64_t>(2 * o + 1) * sourceLength - outputLength) * kWeightOne;
        const std::int64_t position = numerator <= 0 ? 0 : (numerator + outputLength) / (2 * outputLength);
        auto left = static_cast<std::int32_t>(position >> kWeightBits);
        auto right = static_cast<std::uint8_t>(position & (kWeightOne - 1));
        if (left >= sourceLength - 1) {
            left = sourceLength - 2;
            right = kWeightOne;
        }
        index[static_cast<std::size_t>(o)] = left;
        weight[static_cast<std::size_t>(o)] = right;
    }
}

std::uint32_t Blend(std::uint32_t a, std::uint32_t b, int weightB) {
    const int weightA = kWeightOne - weightB;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int channel = (static_cast<int>((a >> shift) & 0xFF) * weightA +
                             static_cast<int>((b >> shift) & 0xFF) * weightB + kWeightOne / 2) >> kWeightBits;
        result |= static_cast<std::uint32_t>(channel) << shift;
    }
    return result;
}

std::uint32_t* TargetRow(char* target, int pitch, int row, int column) {
    return reinterpret_cast<std::uint32_t*>(target + static_cast<std::ptrdiff_t>(row) * pitch) + column;
}

void WidenRowPlain(const std::uint16_t* from, std::uint32_t* to, int count) {
    for (int x = 0; x < count; ++x) {
        to[x] = FromR5G6B5(from[x]);
    }
}

void AcrossPlain(const FrameScaler& scaler, const std::uint32_t* wide, std::uint32_t* out, int from, int to) {
    for (int x = from; x < to; ++x) {
        const std::int32_t left = scaler.sourceX[static_cast<std::size_t>(x)];
        out[x] = Blend(wide[left], wide[left + 1], scaler.weightX[static_cast<std::size_t>(x)]);
    }
}

void DownPlain(const std::uint32_t* upper, const std::uint32_t* lower, int weight, std::uint32_t* out, int from,
               int count) {
    for (int x = from; x < count; ++x) {
        out[x] = Blend(upper[x], lower[x], weight);
    }
}

#ifdef STARWAKE_VECTOR_SPANS

#define STARWAKE_AVX512 __attribute__((target("avx2,avx512f,avx512bw")))

// Red and green shifted down by the high half of a multiply: repeating a channel's top bits
// into its low ones is c * 33 >> 2 for five bits and c * 65 >> 4 for six.
constexpr short kRedFactor = 264;     // (c << 11) * 264 >> 16 == c * 33 >> 2
constexpr short kGreenFactor = 8320;  // (c << 5) * 8320 >> 16 == c * 65 >> 4
// (sum + 32) >> 6 as one rounding multiply: ((sum << 9) + (1 << 14)) >> 15.
constexpr short kRoundFactor = 1 << (15 - kWeightBits);

// Sixteen pixels on 16-bit lanes into blue-green and red-alpha pairs.
STARWAKE_AVX2 inline void Widen565(__m256i pixels, __m256i* blueGreen, __m256i* redAlpha) {
    const __m256i red = _mm256_mulhi_epu16(_mm256_and_si256(pixels, _mm256_set1_epi16(static_cast<short>(0xF800))),
                                           _mm256_set1_epi16(kRedFactor));
    const __m256i green = _mm256_mulhi_epu16(_mm256_and_si256(pixels, _mm256_set1_epi16(0x07E0)),
                                             _mm256_set1_epi16(kGreenFactor));
    const __m256i blue = _mm256_srli_epi16(
        _mm256_mullo_epi16(_mm256_and_si256(pixels, _mm256_set1_epi16(0x001F)), _mm256_set1_epi16(33)), 2);
    *blueGreen = _mm256_or_si256(blue, _mm256_slli_epi16(green, 8));
    *redAlpha = _mm256_or_si256(red, _mm256_set1_epi16(static_cast<short>(0xFF00)));
}

STARWAKE_AVX2 void WidenRowAvx2(const std::uint16_t* from, std::uint32_t* to, int count) {
    int x = 0;
    for (; x + 16 <= count; x += 16) {
        __m256i blueGreen, redAlpha;
        Widen565(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + x)), &blueGreen, &redAlpha);
        // Unpacking keeps 128-bit halves apart: pixels 0-3 and 8-11 low, 4-7 and 12-15 high.
        const __m256i low = _mm256_unpacklo_epi16(blueGreen, redAlpha);
        const __m256i high = _mm256_unpackhi_epi16(blueGreen, redAlpha);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + x), _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + x + 8), _mm256_permute2x128_si256(low, high, 0x31));
    }
    WidenRowPlain(from + x, to + x, count - x);
}

STARWAKE_AVX512 void WidenRowAvx512(const std::uint16_t* from, std::uint32_t* to, int count) {
    // Unpacking keeps 128-bit lanes apart; these gather lane i of both halves, in order.
    const __m512i firstHalf = _mm512_setr_epi64(0, 1, 8, 9, 2, 3, 10, 11);
    const __m512i secondHalf = _mm512_setr_epi64(4, 5, 12, 13, 6, 7, 14, 15);
    int x = 0;
    for (; x + 32 <= count; x += 32) {
        const __m512i pixels = _mm512_loadu_si512(from + x);
        const __m512i red = _mm512_mulhi_epu16(_mm512_and_si512(pixels, _mm512_set1_epi16(static_cast<short>(0xF800))),
                                               _mm512_set1_epi16(kRedFactor));
        const __m512i green = _mm512_mulhi_epu16(_mm512_and_si512(pixels, _mm512_set1_epi16(0x07E0)),
                                                 _mm512_set1_epi16(kGreenFactor));
        const __m512i blue = _mm512_srli_epi16(
            _mm512_mullo_epi16(_mm512_and_si512(pixels, _mm512_set1_epi16(0x001F)), _mm512_set1_epi16(33)), 2);
        const __m512i blueGreen = _mm512_or_si512(blue, _mm512_slli_epi16(green, 8));
        const __m512i redAlpha = _mm512_or_si512(red, _mm512_set1_epi16(static_cast<short>(0xFF00)));
        const __m512i low = _mm512_unpacklo_epi16(blueGreen, redAlpha);
        const __m512i high = _mm512_unpackhi_epi16(blueGreen, redAlpha);
        _mm512_storeu_si512(to + x, _mm512_permutex2var_epi64(low, firstHalf, high));
        _mm512_storeu_si512(to + x + 16, _mm512_permutex2var_epi64(low, secondHalf, high));
    }
    WidenRowAvx2(from + x, to + x, count - x);
}

// Pairs of 8-bit channels (a, b) times their weights (wa, wb), rounded back to 8 bits.
STARWAKE_AVX2 inline __m256i WeighPairs(__m256i pairs, __m256i weights) {
    return _mm256_mulhrs_epi16(_mm256_maddubs_epi16(pairs, weights), _mm256_set1_epi16(kRoundFactor));
}

STARWAKE_AVX512 inline __m512i WeighPairs(__m512i pairs, __m512i weights) {
    return _mm512_mulhrs_epi16(_mm512_maddubs_epi16(pairs, weights), _mm512_set1_epi16(kRoundFactor));
}

// Eight columns from nine neighbouring source pixels: each column's left neighbour picked out of
// one load by a lane permute and its right one by the same permute of the load one pixel on,
// the two interleaved byte by byte and weighed in one step.
// Unpacking and packing both work within 128-bit lanes, so the pixels come out in order.
STARWAKE_AVX2 void AcrossAvx2(const FrameScaler& scaler, const std::uint32_t* wide, std::uint32_t* out,
                              int firstBlock, int endBlock) {
    out += firstBlock * 8;
    for (int b = firstBlock; b < endBlock; ++b) {
        const ScalerBlock& block = scaler.blocks8[static_cast<std::size_t>(b)];
        const __m256i pick = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block.pick));
        const __m256i left =
            _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(wide + block.base)), pick);
        const __m256i right = _mm256_permutevar8x32_epi32(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(wide + block.base + 1)), pick);
        const __m256i low = WeighPairs(_mm256_unpacklo_epi8(left, right),
                                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block.weightsLow)));
        const __m256i high = WeighPairs(_mm256_unpackhi_epi8(left, right),
                                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block.weightsHigh)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_packus_epi16(low, high));
        out += 8;
    }
}

STARWAKE_AVX512 void AcrossAvx512(const FrameScaler& scaler, const std::uint32_t* wide, std::uint32_t* out,
                                  int firstBlock, int endBlock) {
    out += firstBlock * 16;
    for (int b = firstBlock; b < endBlock; ++b) {
        const ScalerBlock& block = scaler.blocks16[static_cast<std::size_t>(b)];
        const __m512i pick = _mm512_loadu_si512(block.pick);
        // The masked form: GCC 12 warns of an undefined vector inside the plain one.
        const __m512i left = _mm512_maskz_permutexvar_epi32(0xFFFF, pick, _mm512_loadu_si512(wide + block.base));
        const __m512i right = _mm512_maskz_permutexvar_epi32(0xFFFF, pick, _mm512_loadu_si512(wide + block.base + 1));
        const __m512i low = WeighPairs(_mm512_unpacklo_epi8(left, right), _mm512_loadu_si512(block.weightsLow));
        const __m512i high = WeighPairs(_mm512_unpackhi_epi8(left, right), _mm512_loadu_si512(block.weightsHigh));
        _mm512_storeu_si512(out, _mm512_packus_epi16(low, high));
        out += 16;
    }
}

// Plain stores: the picture is partly rewritten frame after frame, and streaming part of a
// cache line costs more than it saves.
STARWAKE_AVX2 void DownAvx2(const std::uint32_t* upper, const std::uint32_t* lower, int weight, std::uint32_t* out,
                            int count) {
    const __m256i weights = _mm256_set1_epi16(static_cast<short>((weight << 8) | (kWeightOne - weight)));
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + x));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + x));
        const __m256i low = WeighPairs(_mm256_unpacklo_epi8(a, b), weights);
        const __m256i high = WeighPairs(_mm256_unpackhi_epi8(a, b), weights);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_packus_epi16(low, high));
    }
    DownPlain(upper, lower, weight, out, x, count);
}

STARWAKE_AVX512 void DownAvx512(const std::uint32_t* upper, const std::uint32_t* lower, int weight,
                                std::uint32_t* out, int count) {
    const __m512i weights = _mm512_set1_epi16(static_cast<short>((weight << 8) | (kWeightOne - weight)));
    int x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m512i a = _mm512_loadu_si512(upper + x);
        const __m512i b = _mm512_loadu_si512(lower + x);
        const __m512i low = WeighPairs(_mm512_unpacklo_epi8(a, b), weights);
        const __m512i high = WeighPairs(_mm512_unpackhi_epi8(a, b), weights);
        _mm512_storeu_si512(out + x, _mm512_packus_epi16(low, high));
    }
    DownAvx2(upper + x, lower + x, weight, out + x, count - x);
}

#endif

// The tables of blocks of n columns, when every n columns have their left neighbours among n
// source pixels.
std::vector<ScalerBlock> MakeBlocks(const FrameScaler& scaler, int n) {
    const int width = scaler.layout.width;
    const int count = (width + n - 1) / n;
    std::vector<ScalerBlock> blocks(static_cast<std::size_t>(count));
    for (int b = 0; b < count; ++b) {
        ScalerBlock& block = blocks[static_cast<std::size_t>(b)];
        block.base = scaler.sourceX[static_cast<std::size_t>(b * n)];
        for (int k = 0; k < n; ++k) {
            // Columns past the frame's width repeat its last one.
            const auto column = static_cast<std::size_t>(std::min(b * n + k, width - 1));
            const int pick = scaler.sourceX[column] - block.base;
            if (pick >= n) {
                return {};
            }
            block.pick[k] = pick;
            const int weight = scaler.weightX[column];
            // Every 128-bit lane holds four columns; unpacking takes its first two to the low
            // half and its last two to the high one.
            std::int8_t* pairs = (k & 2) == 0 ? block.weightsLow : block.weightsHigh;
            const int slot = (k / 4) * 2 + (k & 1);
            for (int channel = 0; channel < 4; ++channel) {
                pairs[slot * 8 + channel * 2] = static_cast<std::int8_t>(kWeightOne - weight);
                pairs[slot * 8 + channel * 2 + 1] = static_cast<std::int8_t>(weight);
            }
        }
    }
    return blocks;
}

ScalerPath Resolve(ScalerPath path) {
    if (path == ScalerPath::kBest) {
        path = ScalerPath::kAvx512;
    }
    while (path != ScalerPath::kPlain && !ScalerPathAvailable(path)) {
        path = static_cast<ScalerPath>(static_cast<int>(path) - 1);
    }
    return path;
}

void WidenRow(const std::uint16_t* from, std::uint32_t* to, int count, ScalerPath path) {
#ifdef STARWAKE_VECTOR_SPANS
    if (path == ScalerPath::kAvx512) {
        WidenRowAvx512(from, to, count);
        return;
    }
    if (path == ScalerPath::kAvx2) {
        WidenRowAvx2(from, to, count);
        return;
    }
#endif
    (void)path;
    WidenRowPlain(from, to, count);
}

// How many output columns one step across writes on this path.
int AcrossBlock(const FrameScaler& scaler, ScalerPath path) {
#ifdef STARWAKE_VECTOR_SPANS
    if (path == ScalerPath::kAvx512 && !scaler.blocks16.empty()) {
        return 16;
    }
    if (path != ScalerPath::kPlain && !scaler.blocks8.empty()) {
        return 8;
    }
#endif
    (void)scaler;
    (void)path;
    return 1;
}

// Output columns from to to - 1 of a source row scaled across, in whole blocks of columns.
void Across(const FrameScaler& scaler, const std::uint32_t* wide, std::uint32_t* out, int from, int to, int block) {
#ifdef STARWAKE_VECTOR_SPANS
    if (block == 16) {
        AcrossAvx512(scaler, wide, out, from / 16, (to + 15) / 16);
        return;
    }
    if (block == 8) {
        AcrossAvx2(scaler, wide, out, from / 8, (to + 7) / 8);
        return;
    }
#endif
    (void)block;
    AcrossPlain(scaler, wide, out, from, to);
}

void Down(const std::uint32_t* upper, const std::uint32_t* lower, int weight, std::uint32_t* out, int count,
          ScalerPath path) {
    if (weight == 0) {
        std::memcpy(out, upper, static_cast<std::size_t>(count) * 4);
        return;
    }
#ifdef STARWAKE_VECTOR_SPANS
    if (path == ScalerPath::kAvx512) {
        DownAvx512(upper, lower, weight, out, count);
        return;
    }
    if (path == ScalerPath::kAvx2) {
        DownAvx2(upper, lower, weight, out, count);
        return;
    }
#endif
    (void)path;
    DownPlain(upper, lower, weight, out, 0, count);
}

// Output columns from to to - 1 of a source row scaled across, taken from the two kept rows or
// made now in place of the older one. Only the source pixels those columns blend are widened:
// the other columns of a vector block come out wrong, and nothing reads them.
const std::uint32_t* AcrossRow(FrameScaler& scaler, std::span<const std::uint16_t> frame, int row, int from, int to,
                               ScalerPath path) {
    for (int slot = 0; slot < 2; ++slot) {
        if (scaler.acrossRow[slot] == row) {
            return scaler.across[slot].data();
        }
    }
    const int slot = scaler.acrossRow[0] <= scaler.acrossRow[1] ? 0 : 1;
    const std::int32_t sourceFrom = scaler.sourceX[static_cast<std::size_t>(from)];
    const std::int32_t sourceTo = scaler.sourceX[static_cast<std::size_t>(to - 1)] + 2;
    std::uint32_t* wide = scaler.wideRow.data();
    WidenRow(frame.data() + static_cast<std::ptrdiff_t>(row) * kFrameWidth + sourceFrom, wide + sourceFrom,
             sourceTo - sourceFrom, path);
    std::uint32_t* out = scaler.across[slot].data();
    Across(scaler, wide, out, from, to, AcrossBlock(scaler, path));
    scaler.acrossRow[slot] = row;
    return out;
}

// A rectangle of the frame's place in the output (its own coordinates, whole source pixels)
// with every pixel repeated wholeScale times each way.
void ScaleWholeRect(const FrameScaler& scaler, std::span<const std::uint16_t> frame, char* target, int pitch,
                    const OutputRect& rect, ScalerPath path) {
    const int k = scaler.wholeScale;
    const FrameLayout& layout = scaler.layout;
    const int columns = rect.width / k;
    for (int y = rect.y / k; y < (rect.y + rect.height) / k; ++y) {
        const std::uint16_t* from = frame.data() + static_cast<std::ptrdiff_t>(y) * kFrameWidth + rect.x / k;
        std::uint32_t* first = TargetRow(target, pitch, layout.top + y * k, layout.left + rect.x);
        if (k == 1) {
            WidenRow(from, first, columns, path);
            continue;
        }
        for (int x = 0; x < columns; ++x) {
            std::fill_n(first + x * k, k, FromR5G6B5(from[x]));
        }
        for (int copy = 1; copy < k; ++copy) {
            std::memcpy(TargetRow(target, pitch, layout.top + y * k + copy, layout.left + rect.x), first,
                        static_cast<std::size_t>(rect.width) * 4);
        }
    }
}

// A rectangle of the frame's place in the output (its own coordinates) blended: across each
// source row it needs, then down between two of them.
void ScaleBilinearRect(FrameScaler& scaler, std::span<const std::uint16_t> frame, char* target, int pitch,
                       const OutputRect& rect, ScalerPath path) {
    const FrameLayout& layout = scaler.layout;
    // The kept rows belong to another frame or other columns.
    scaler.acrossRow[0] = scaler.acrossRow[1] = -1;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        const std::int32_t upperRow = scaler.sourceY[static_cast<std::size_t>(y)];
        const int weight = scaler.weightY[static_cast<std::size_t>(y)];
        const int to = rect.x + rect.width;
        const std::uint32_t* upper = AcrossRow(scaler, frame, upperRow, rect.x, to, path);
        const std::uint32_t* lower = weight == 0 ? upper : AcrossRow(scaler, frame, upperRow + 1, rect.x, to, path);
        Down(upper + rect.x, lower + rect.x, weight, TargetRow(target, pitch, layout.top + y, layout.left + rect.x),
             rect.width, path);
    }
}

void ScaleRect(FrameScaler& scaler, std::span<const std::uint16_t> frame, char* target, int pitch,
               const OutputRect& rect, ScalerPath path) {
    if (scaler.wholeScale > 0) {
        ScaleWholeRect(scaler, frame, target, pitch, rect, path);
    } else {
        ScaleBilinearRect(scaler, frame, target, pitch, rect, path);
    }
}

// The output positions, from and to - 1, whose two neighbours (index and index + 1) meet
// source positions first to last; none when from == to (a shrunk frame skips some).
std::pair<int, int> Reach(const std::vector<std::int32_t>& index, int first, int last) {
    const auto from = std::lower_bound(index.begin(), index.end(), first - 1);
    const auto to = std::upper_bound(from, index.end(), last);
    return {static_cast<int>(from - index.begin()), static_cast<int>(to - index.begin())};
}

// The output pixels (in the frame's place, its own coordinates) that a changed band reaches.
OutputRect Reached(const FrameScaler& scaler, const ChangedBand& band) {
    if (const int k = scaler.wholeScale; k > 0) {
        return {band.firstColumn * k, band.firstRow * k, (band.lastColumn - band.firstColumn + 1) * k,
                (band.lastRow - band.firstRow + 1) * k};
    }
    const auto [left, right] = Reach(scaler.sourceX, band.firstColumn, band.lastColumn);
    const auto [top, bottom] = Reach(scaler.sourceY, band.firstRow, band.lastRow);
    return {left, top, right - left, bottom - top};
}

std::uint64_t Word(const std::uint16_t* row, int word) {
    std::uint64_t value;
    std::memcpy(&value, row + word * kPixelsPerWord, sizeof value);
    return value;
}

// Compares the frame with the last one row by row, gathers the changed rows into bands with
// the columns they changed in (to whole 64-bit words), and keeps the changes for next time.
void FindChangedBands(FrameScaler& scaler, std::span<const std::uint16_t> frame) {
    scaler.bands.clear();
    for (int y = 0; y < kFrameHeight; ++y) {
        const std::uint16_t* now = frame.data() + static_cast<std::ptrdiff_t>(y) * kFrameWidth;
        std::uint16_t* last = scaler.lastFrame.data() + static_cast<std::ptrdiff_t>(y) * kFrameWidth;
        if (std::memcmp(now, last, kFrameWidth * sizeof *now) == 0) {
            continue;
        }
        // The row differs, so both searches stop inside it.
        int firstWord = 0, lastWord = kWordsPerRow - 1;
        while (Word(now, firstWord) == Word(last, firstWord)) {
            ++firstWord;
        }
        while (Word(now, lastWord) == Word(last, lastWord)) {
            --lastWord;
        }
        const int firstColumn = firstWord * kPixelsPerWord, lastColumn = lastWord * kPixelsPerWord + kPixelsPerWord - 1;
        std::copy(now + firstColumn, now + lastColumn + 1, last + firstColumn);
        if (!scaler.bands.empty() && y - scaler.bands.back().lastRow <= kBandGap + 1) {
            ChangedBand& band = scaler.bands.back();
            band.lastRow = y;
            band.firstColumn = std::min(band.firstColumn, firstColumn);
            band.lastColumn = std::max(band.lastColumn, lastColumn);
        } else {
            scaler.bands.push_back({y, y, firstColumn, lastColumn});
        }
    }
}

}  // namespace

FrameLayout FitFrame(int outputWidth, int outputHeight) {
    outputWidth = std::max(outputWidth, 1);
    outputHeight = std::max(outputHeight, 1);
    FrameLayout layout;
    if (static_cast<std::int64_t>(outputWidth) * kFrameHeight >= static_cast<std::int64_t>(outputHeight) * kFrameWidth) {
        layout.height = outputHeight;
        layout.width = std::max(1, static_cast<int>(static_cast<std::int64_t>(outputHeight) * kFrameWidth / kFrameHeight));
    } else {
        layout.width = outputWidth;
        layout.height = std::max(1, static_cast<int>(static_cast<std::int64_t>(outputWidth) * kFrameHeight / kFrameWidth));
    }
    layout.left = (outputWidth - layout.width) / 2;
    layout.top = (outputHeight - layout.height) / 2;
    return layout;
}

void PrepareScaler(FrameScaler& scaler, int outputWidth, int outputHeight) {
    scaler.outputWidth = outputWidth;
    scaler.outputHeight = outputHeight;
    scaler.layout = FitFrame(outputWidth, outputHeight);
    const FrameLayout& layout = scaler.layout;
    const int k = layout.width / kFrameWidth;
    scaler.wholeScale = k >= 1 && layout.width == k * kFrameWidth && layout.height == k * kFrameHeight ? k : 0;
    MapAxis(layout.width, kFrameWidth, scaler.sourceX, scaler.weightX);
    MapAxis(layout.height, kFrameHeight, scaler.sourceY, scaler.weightY);
    scaler.blocks8 = MakeBlocks(scaler, 8);
    scaler.blocks16 = MakeBlocks(scaler, 16);
    scaler.wideRow.assign(kWideRowLength, 0);
    const std::size_t padded = (static_cast<std::size_t>(layout.width) + kWideBlock - 1) / kWideBlock * kWideBlock;
    for (auto& row : scaler.across) {
        row.assign(padded, 0);
    }
    scaler.acrossRow[0] = scaler.acrossRow[1] = -1;
    scaler.lastFrame.assign(static_cast<std::size_t>(kFrameWidth) * kFrameHeight, 0);
    scaler.lastFrameShown = false;
    // At most one band in every kBandGap + 1 rows: no frame grows them.
    scaler.bands.reserve(kFrameHeight / (kBandGap + 1) + 1);
    scaler.changedRects.reserve(scaler.bands.capacity());
}

void ForgetLastFrame(FrameScaler& scaler) { scaler.lastFrameShown = false; }

bool ScalerPathAvailable(ScalerPath path) {
#ifdef STARWAKE_VECTOR_SPANS
    static const bool avx2 = __builtin_cpu_supports("avx2");
    static const bool avx512 = avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    switch (path) {
        case ScalerPath::kPlain: return true;
        case ScalerPath::kAvx2: return avx2;
        case ScalerPath::kAvx512: return avx512;
        case ScalerPath::kBest: return true;
    }
    return false;
#else
    return path == ScalerPath::kPlain || path == ScalerPath::kBest;
#endif
}

void ScaleFrame(FrameScaler& scaler, std::span<const std::uint16_t> frame, char* target, int pitch,
                ScalerPath path) {
    if (frame.size() < static_cast<std::size_t>(kFrameWidth) * kFrameHeight || scaler.layout.width <= 0) {
        return;
    }
    ScaleRect(scaler, frame, target, pitch, {0, 0, scaler.layout.width, scaler.layout.height}, Resolve(path));
}

void ScaleChangedFrame(FrameScaler& scaler, std::span<const std::uint16_t> frame, char* target, int pitch,
                       ScalerPath path) {
    scaler.changedRects.clear();
    const std::size_t framePixels = static_cast<std::size_t>(kFrameWidth) * kFrameHeight;
    if (frame.size() < framePixels || scaler.layout.width <= 0) {
        return;
    }
    path = Resolve(path);
    if (scaler.lastFrameShown) {
        FindChangedBands(scaler, frame);
    } else {
        std::copy_n(frame.begin(), framePixels, scaler.lastFrame.begin());
        scaler.lastFrameShown = true;
        scaler.bands.assign(1, ChangedBand{0, kFrameHeight - 1, 0, kFrameWidth - 1});
    }
    for (const ChangedBand& band : scaler.bands) {
        const OutputRect rect = Reached(scaler, band);
        if (rect.width <= 0 || rect.height <= 0) {
            continue;
        }
        ScaleRect(scaler, frame, target, pitch, rect, path);
        scaler.changedRects.push_back(
            {scaler.layout.left + rect.x, scaler.layout.top + rect.y, rect.width, rect.height});
    }
}

void ClearBars(const FrameScaler& scaler, char* target, int pitch) {
    const FrameLayout& layout = scaler.layout;
    const auto fullRow = static_cast<std::size_t>(scaler.outputWidth) * 4;
    for (int y = 0; y < scaler.outputHeight; ++y) {
        std::uint32_t* row = TargetRow(target, pitch, y, 0);
        if (y < layout.top || y >= layout.top + layout.height) {
            std::memset(row, 0, fullRow);
            continue;
        }
        std::fill_n(row, layout.left, 0u);
        const int right = layout.left + layout.width;
        std::fill_n(row + right, scaler.outputWidth - right, 0u);
    }
}

}  // namespace platform
