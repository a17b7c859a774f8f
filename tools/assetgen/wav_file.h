// WAV files of 16-bit PCM: the writer for the sound effects and a reader for checking them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace assetgen {

struct PcmSound {
    int sampleRate = 22050;             // frames per second
    int channels = 1;
    std::vector<std::int16_t> samples;  // interleaved, frames * channels
};

std::vector<std::uint8_t> EncodeWav(const PcmSound& sound);
// Reads a RIFF WAVE file with a PCM 16-bit "fmt " chunk and a "data" chunk; nothing with
// *error otherwise.
std::optional<PcmSound> DecodeWav(std::span<const std::uint8_t> bytes, std::string* error);

// Float samples (-1 .. 1) to 16-bit, clipped.
std::vector<std::int16_t> ToPcm16(std::span<const float> samples);

}  // namespace assetgen
