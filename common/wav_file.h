// WAV files of PCM samples: the one reader (the game's sound effects, the generator's checks)
// and the one writer (the generator). The reader trusts nothing in a header: the chunk sizes,
// the format and the sample data are checked against the bytes the file really holds.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace common {

// Sample rates the game's sound files may have; anything outside is a damaged or hostile header.
inline constexpr int kMinSampleRate = 8000;
inline constexpr int kMaxSampleRate = 192000;

struct PcmSound {
    int sampleRate = 22050;             // frames per second
    int channels = 1;                   // 1 or 2
    std::vector<std::int16_t> samples;  // interleaved, frames * channels; 8-bit files widened
};

// A canonical 44-byte-header file of 16-bit samples.
std::vector<std::uint8_t> EncodeWav(const PcmSound& sound);

// Reads a RIFF WAVE file of 8- or 16-bit PCM, mono or stereo, with at least one frame.
// Nothing, with *error saying what is wrong, otherwise.
std::optional<PcmSound> DecodeWav(std::span<const std::uint8_t> bytes, std::string* error);

// Float samples (-1 .. 1) to 16-bit, clipped.
std::vector<std::int16_t> ToPcm16(std::span<const float> samples);

}  // namespace common
