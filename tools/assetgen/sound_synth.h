// Synthesised sound: a few oscillators and envelopes, and the five effects the game plays
// (laser, explosion, coin, buy, denied) as 16-bit mono WAV files at 22 050 Hz.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/asset_set.h"

namespace assetgen {

inline constexpr int kEffectRate = 22050;

// An effect file and how long it is meant to be, in frames.
struct EffectPlan {
    const char* fileName;
    int frames;
};
inline constexpr EffectPlan kEffects[] = {{"sounds/Laser.wav", kEffectRate * 22 / 100},
                                          {"sounds/Explode.wav", kEffectRate * 13 / 10},
                                          {"sounds/Coin.wav", kEffectRate * 35 / 100},
                                          {"sounds/buy.wav", kEffectRate * 55 / 100},
                                          {"sounds/denied.wav", kEffectRate * 40 / 100}};

// Every effect peaks here, 6 dB under full scale: an explosion, a shot and the music can sound
// at once without the mix clipping.
inline constexpr float kEffectPeak = 0.5f;

std::vector<DataFile> MakeSoundEffects();

// Building blocks shared with the music.
// Takes out DC and anything below 20 Hz, channel by channel of interleaved samples; a loop is
// filtered as a loop, its start continuing from its end.
void RemoveDc(std::vector<float>& samples, int channels, int rate, bool loop);
// Scales the samples so that the largest magnitude is peak.
void ScaleToPeak(std::vector<float>& samples, float peak);
float Saw(double phase);        // rising saw from a phase in cycles, -1 .. 1
float Square(double phase);     // plain square, -1 .. 1
float Triangle(double phase);   // -1 .. 1
float Sine(double phase);
// A uniform noise value in -1 .. 1 from a 32-bit state (xorshift).
float Noise(std::uint32_t* state);
// Attack-decay envelope: rises linearly over attack seconds, then falls exponentially with
// the given time constant.
float AttackDecay(double t, double attack, double decay);
double NoteFrequency(int midiNote);

}  // namespace assetgen
