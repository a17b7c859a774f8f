#include "tools/assetgen/sound_synth.h"

#include <cmath>

#include "tools/assetgen/wav_file.h"

namespace assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Fades the last few milliseconds to silence so a sound cut off by its end never clicks.
void FadeTail(std::vector<float>& samples, int rate) {
    const int fade = rate / 200;
    for (int i = 0; i < fade && i < static_cast<int>(samples.size()); ++i) {
        samples[samples.size() - 1 - i] *= static_cast<float>(i) / fade;
    }
}

DataFile Finish(const EffectPlan& effect, std::vector<float> samples) {
    FadeTail(samples, kEffectRate);
    PcmSound sound;
    sound.sampleRate = kEffectRate;
    sound.channels = 1;
    sound.samples = ToPcm16(samples);
    return {effect.fileName, EncodeWav(sound)};
}

std::vector<float> Laser(int frames) {
    // A falling square chirp with a touch of noise: a short "pew".
    std::vector<float> out(frames);
    double phase = 0.0;
    std::uint32_t noise = 0x1234567;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const double frequency = 300.0 + 1500.0 * std::exp(-t * 18.0);
        phase += frequency / kEffectRate;
        const float tone = 0.6f * Square(phase) + 0.4f * Saw(phase * 0.5);
        out[i] = 0.5f * AttackDecay(t, 0.003, 0.07) * (tone + 0.15f * Noise(&noise));
    }
    return out;
}

std::vector<float> Explode(int frames) {
    // Rumbling noise that darkens as it fades, over a falling low thump.
    std::vector<float> out(frames);
    std::uint32_t noise = 0xBEEF;
    float low = 0.0f, lower = 0.0f;
    double thump = 0.0;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const float cutoff = static_cast<float>(0.02 + 0.3 * std::exp(-t * 5.0));
        low += cutoff * (Noise(&noise) - low);
        lower += 0.5f * cutoff * (low - lower);
        thump += (35.0 + 50.0 * std::exp(-t * 6.0)) / kEffectRate;
        const float body = 2.2f * lower + 0.5f * Sine(thump) * AttackDecay(t, 0.002, 0.25);
        out[i] = 0.8f * AttackDecay(t, 0.004, 0.35) * body;
    }
    return out;
}

std::vector<float> Coin(int frames) {
    // Two bright bell notes, the second a fourth above.
    std::vector<float> out(frames);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const double second = t - 0.07;
        float s = 0.0f;
        if (t < 0.07) {
            s += AttackDecay(t, 0.002, 0.05) * (Sine(988.0 * t) + 0.3f * Sine(2964.0 * t));
        }
        if (second >= 0.0) {
            s += AttackDecay(second, 0.002, 0.12) * (Sine(1319.0 * second) + 0.3f * Sine(3957.0 * second));
        }
        out[i] = 0.45f * s;
    }
    return out;
}

std::vector<float> Buy(int frames) {
    // A quick rising arpeggio: C E G C.
    const int notes[] = {84, 88, 91, 96};
    std::vector<float> out(frames);
    for (int n = 0; n < 4; ++n) {
        const double start = n * 0.07;
        const double frequency = NoteFrequency(notes[n]);
        for (int i = static_cast<int>(start * kEffectRate); i < frames; ++i) {
            const double t = static_cast<double>(i) / kEffectRate - start;
            out[i] += 0.3f * AttackDecay(t, 0.004, n == 3 ? 0.18 : 0.08) * Triangle(frequency * t);
        }
    }
    return out;
}

std::vector<float> Denied(int frames) {
    // Two low buzzes, the second lower: "uh-uh".
    std::vector<float> out(frames);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const bool first = t < 0.17;
        const double local = first ? t : t - 0.2;
        if (local < 0.0) continue;
        const double frequency = first ? 196.0 : 147.0;
        const float gate = local < 0.15 ? 1.0f : static_cast<float>(std::exp(-(local - 0.15) * 60.0));
        out[i] = 0.35f * gate * AttackDecay(local, 0.005, 1.0) *
                 (0.6f * Square(frequency * local) + 0.4f * Saw(frequency * 1.005 * local));
    }
    return out;
}

}  // namespace

float Saw(double phase) {
    const double p = phase - std::floor(phase);
    return static_cast<float>(2.0 * p - 1.0);
}

float Square(double phase) { return (phase - std::floor(phase)) < 0.5 ? 1.0f : -1.0f; }

float Triangle(double phase) {
    const double p = phase - std::floor(phase);
    return static_cast<float>(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
}

float Sine(double phase) { return static_cast<float>(std::sin(kTwoPi * (phase - std::floor(phase)))); }

float Noise(std::uint32_t* state) {
    std::uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *state = x;
    return static_cast<float>(static_cast<double>(x) / 2147483648.0 - 1.0);
}

float AttackDecay(double t, double attack, double decay) {
    if (t < 0.0) return 0.0f;
    if (t < attack) return static_cast<float>(t / attack);
    return static_cast<float>(std::exp(-(t - attack) / decay));
}

double NoteFrequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

std::vector<DataFile> MakeSoundEffects() {
    return {Finish(kEffects[0], Laser(kEffects[0].frames)), Finish(kEffects[1], Explode(kEffects[1].frames)),
            Finish(kEffects[2], Coin(kEffects[2].frames)), Finish(kEffects[3], Buy(kEffects[3].frames)),
            Finish(kEffects[4], Denied(kEffects[4].frames))};
}

}  // namespace assetgen
