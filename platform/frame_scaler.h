// The 800 x 600 R5G6B5 frame scaled into an X8R8G8B8 picture of any size, its shape kept and
// centred between black bars. A whole-number scale (1 included) repeats every pixel; any other
// scale blends the four nearest pixels (bilinear, weights in 64ths), across each source row
// first and then down between two such rows. The tables are made once per output size, so a
// frame allocates nothing. The vector paths (AVX2 and AVX-512, chosen at run time) give the
// plain path's bytes exactly. A picture that keeps what was scaled into it (a window's own
// surface) needs only the pixels that the frame's changes reach: ScaleChangedFrame compares
// the frame with the last one and rescales those alone.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

inline constexpr int kFrameWidth = 800;
inline constexpr int kFrameHeight = 600;

// Where the frame lands in an output: the largest rectangle of its shape, centred.
struct FrameLayout {
    int left = 0, top = 0, width = 0, height = 0;
};
FrameLayout FitFrame(int outputWidth, int outputHeight);

// The ways through, slowest first; kBest is the fastest this processor runs.
enum class ScalerPath { kPlain, kAvx2, kAvx512, kBest };

// Up to sixteen output columns of a vector path: their left neighbours are the source pixels
// base + pick, their right ones base + pick + 1; the weight pairs stand in the order the lanes
// are unpacked (within every four columns, the first two in weightsLow, the last two in
// weightsHigh).
struct ScalerBlock {
    std::int32_t pick[16];
    std::int8_t weightsLow[64];
    std::int8_t weightsHigh[64];
    std::int32_t base;
};

// A rectangle of the output picture, in its pixels.
struct OutputRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Source rows firstRow to lastRow, in which the frame changed within columns firstColumn to
// lastColumn (all inclusive).
struct ChangedBand {
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
};

struct FrameScaler {
    int outputWidth = 0, outputHeight = 0;
    FrameLayout layout;
    int wholeScale = 0;                 // k when the frame shows k times its size, else 0
    std::vector<std::int32_t> sourceX;  // per frame column: the left source pixel
    std::vector<std::uint8_t> weightX;  // per frame column: the right pixel's weight, of 64
    std::vector<std::int32_t> sourceY;  // per frame row: the upper source row
    std::vector<std::uint8_t> weightY;  // per frame row: the lower row's weight, of 64
    // The columns 8 (AVX2) and 16 (AVX-512) at a time; empty when the left neighbours of
    // some of them spread beyond as many source pixels (scales below 8/7 and 16/15).
    std::vector<ScalerBlock> blocks8, blocks16;
    std::vector<std::uint32_t> wideRow;      // one source row widened, padded for 8-pixel loads
    std::vector<std::uint32_t> across[2];    // source rows scaled across, padded to blocks
    int acrossRow[2] = {-1, -1};             // the source row each of them holds
    std::vector<std::uint16_t> lastFrame;    // the frame the picture shows, for the next comparison
    bool lastFrameShown = false;             // false: the next changed frame is scaled whole
    std::vector<ChangedBand> bands;          // the current frame's changes, top to bottom
    std::vector<OutputRect> changedRects;    // what the last ScaleChangedFrame rewrote, one per band
};

// Makes the tables for an output of that size (both at least 1).
void PrepareScaler(FrameScaler& scaler, int outputWidth, int outputHeight);

// True when this processor runs that path.
bool ScalerPathAvailable(ScalerPath path);

// Scales one frame (800 x 600 pixels) into the frame's rectangle of target, whose rows are
// pitch bytes apart; the bars are left as they are. A path the processor lacks falls back to
// the next slower one.
void ScaleFrame(FrameScaler& scaler, std::span<const std::uint16_t> frame, char* target, int pitch,
                ScalerPath path = ScalerPath::kBest);

// Scales into target only what the changes since the last frame scaled by this call reach,
// and lists those rectangles in changedRects; the first frame after PrepareScaler or
// ForgetLastFrame is scaled whole. target must still hold what this call last wrote.
void ScaleChangedFrame(FrameScaler& scaler, std::span<const std::uint16_t> frame, char* target, int pitch,
                       ScalerPath path = ScalerPath::kBest);

// The picture no longer holds the last frame (a new or lost surface): the next changed frame
// is scaled whole.
void ForgetLastFrame(FrameScaler& scaler);

// Paints the bars around the frame's rectangle black.
void ClearBars(const FrameScaler& scaler, char* target, int pitch);

}  // namespace platform
