// Ogg Vorbis encoding of the music through libvorbisenc, and decoding through libvorbisfile
// for checks. The stream serial number is fixed so the same samples give the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace assetgen {

// Interleaved stereo float samples (-1 .. 1) at rate; quality -0.1 .. 1.
std::vector<std::uint8_t> EncodeOggVorbis(std::span<const float> interleavedStereo, int rate, float quality);

struct DecodedOgg {
    int rate = 0;
    int channels = 0;
    std::int64_t frames = 0;          // as the stream reports it
    std::int64_t framesDecoded = 0;   // counted by decoding everything
    std::vector<float> firstFrames;   // the first few frames of channel 0
    std::vector<float> lastFrames;    // the last few frames of channel 0
};
std::optional<DecodedOgg> DecodeOggVorbis(std::span<const std::uint8_t> bytes, std::string* error);

}  // namespace assetgen
