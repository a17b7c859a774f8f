// Levels of 16-bit sound as a listener judges them, relative to full scale (32768): the RMS
// level, the peak, the DC offset, and decibels. The generator's checks, the contact sheets and
// the tests that hear the game's output all measure with these.
#pragma once

#include <cstdint>
#include <span>

namespace common {

// Root mean square of the samples over full scale: 1 for a full-scale square wave, about 0.707
// for a full-scale sine; 0 for no samples.
double RmsLevel(std::span<const std::int16_t> samples);

// The largest magnitude over full scale, 0 .. 1.
double PeakLevel(std::span<const std::int16_t> samples);

// The mean over full scale: the DC offset, -1 .. 1.
double MeanLevel(std::span<const std::int16_t> samples);

// 20 log10 of a level; -200 dB for silence.
double Decibels(double level);

}  // namespace common
