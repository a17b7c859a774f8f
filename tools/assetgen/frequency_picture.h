// Sound for people to look at and to check by numbers: a spectrogram (time across, frequency
// up on a log scale from 30 Hz to 20 kHz, level as colour from -96 dBFS black to 0 dBFS white)
// and the loudness figures of a sound. Sounds are what the game plays: 16-bit interleaved
// stereo at the output's rate (platform/sound_files.h).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/image.h"

namespace assetgen {

inline constexpr int kSpectrumSize = 2048;  // frames per analysis window, 46 ms

// The spectrum of the window of frames centred on a frame, both channels mixed, Hann-windowed:
// for each of the kSpectrumSize / 2 + 1 bins, the level in dB where a full-scale sine gives 0.
std::vector<float> SpectrumDecibels(std::span<const std::int16_t> stereo, std::size_t centreFrame);

common::Image Spectrogram(std::span<const std::int16_t> stereo, int width, int height);

struct Loudness {
    double seconds = 0.0;
    double peakDb = -200.0;     // the largest sample, dBFS
    double rmsDb = -200.0;      // RMS over the whole sound, dBFS
    double loudestDb = -200.0;  // RMS over its loudest 400 ms, dBFS (the span a listener hears as one)
    double dcOffset = 0.0;      // the mean, as a share of full scale
};
Loudness MeasureLoudness(std::span<const std::int16_t> stereo);

}  // namespace assetgen
