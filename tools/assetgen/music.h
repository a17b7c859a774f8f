// The four looping tunes, one per band of levels, synthesised and encoded as Ogg Vorbis:
// 002 driving (levels 1-3, 13-15), 003 spacious and mysterious (4-6, 16-18), 004 tense
// (7-9, 19-21) and 005 the battle theme (10-12, 22-24). Each is a whole number of bars; notes
// that ring past the end are wrapped round to the start, and both ends fade over a few
// milliseconds, so the game's restart of the file never clicks.
#pragma once

#include <vector>

#include "tools/assetgen/asset_set.h"

namespace assetgen {

inline constexpr int kMusicRate = 44100;
// Each tune's RMS level (-26 dBFS) and the most its peaks may reach (-8 dBFS): the music sits
// under the effects and leaves them room in the mix.
inline constexpr double kTuneRms = 0.0501;
inline constexpr float kTunePeak = 0.398f;

struct TunePlan {
    const char* fileName;
    int beatsPerMinute;
    int bars;  // of four beats
};
inline constexpr TunePlan kTunes[] = {{"Music/002.ogg", 124, 48},
                                      {"Music/003.ogg", 90, 36},
                                      {"Music/004.ogg", 140, 56},
                                      {"Music/005.ogg", 132, 52}};

// Frames of a tune: its bars at its tempo, rounded down.
long TuneFrames(const TunePlan& tune);

// The interleaved stereo samples of tune 0 .. 3, and the encoded file.
std::vector<float> RenderTune(int index);
DataFile MakeTune(int index);

}  // namespace assetgen
