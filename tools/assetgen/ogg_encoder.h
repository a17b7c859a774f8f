// Ogg Vorbis encoding of the music through libvorbisenc; the game's own decoder
// (platform/sound_files.h) reads the files back for the checks. The stream serial number is
// fixed so the same samples give the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace assetgen {

// Interleaved stereo float samples (-1 .. 1) at rate; quality -0.1 .. 1.
std::vector<std::uint8_t> EncodeOggVorbis(std::span<const float> interleavedStereo, int rate, float quality);

}  // namespace assetgen
