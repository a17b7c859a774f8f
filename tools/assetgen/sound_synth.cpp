#include "tools/assetgen/sound_synth.h"

#include <algorithm>
#include <cmath>

#include "common/wav_file.h"

namespace assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Every effect is finished the same way: its DC taken out, faded in over a millisecond and out
// over five so that neither end clicks, and brought to the same peak, so that no effect clips
// and none sits under the music.
DataFile Finish(const EffectPlan& effect, std::vector<float> samples) {
    RemoveDc(samples, 1, kEffectRate, false);
    const int fadeIn = kEffectRate / 1000, fadeOut = kEffectRate / 200;
    const int count = static_cast<int>(samples.size());
    for (int i = 0; i < fadeIn && i < count; ++i) {
        samples[static_cast<std::size_t>(i)] *= static_cast<float>(i) / fadeIn;
    }
    for (int i = 0; i < fadeOut && i < count; ++i) {
        samples[static_cast<std::size_t>(count - 1 - i)] *= static_cast<float>(i) / fadeOut;
    }
    ScaleToPeak(samples, kEffectPeak);
    common::PcmSound sound;
    sound.sampleRate = kEffectRate;
    sound.channels = 1;
    sound.samples = common::ToPcm16(samples);
    return {effect.fileName, common::EncodeWav(sound)};
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
        // Saturated a little, so that the blast is dense and loud rather than one peak.
        out[i] = AttackDecay(t, 0.004, 0.35) * std::tanh(2.0f * body);
    }
    return out;
}

std::vector<float> Coin(int frames) {
    // Two bright bell notes, the second a fourth above.
    std::vector<float> out(frames);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const double second = t - 0.07;
        // The first note rings on under the second: cut off, it would click.
        float s = AttackDecay(t, 0.002, 0.05) * (Sine(988.0 * t) + 0.3f * Sine(2964.0 * t));
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
        // Each buzz closes over 20 ms, the first one before the second begins.
        const float gate = static_cast<float>(std::clamp(1.0 - (local - 0.15) / 0.02, 0.0, 1.0));
        out[i] = 0.35f * gate * AttackDecay(local, 0.005, 1.0) *
                 (0.6f * Square(frequency * local) + 0.4f * Saw(frequency * 1.005 * local));
    }
    return out;
}

}  // namespace

void RemoveDc(std::vector<float>& samples, int channels, int rate, bool loop) {
    // A one-pole high-pass at 20 Hz, below anything a tune or an effect plays.
    const double rc = 1.0 / (2.0 * 3.141592653589793 * 20.0);
    const float a = static_cast<float>(rc / (rc + 1.0 / rate));
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    for (int c = 0; c < channels; ++c) {
        float previousIn = 0.0f, previousOut = 0.0f;
        // A loop is filtered twice round, so that its start continues from its own end.
        for (int pass = loop ? 0 : 1; pass < 2; ++pass) {
            for (std::size_t i = 0; i < frames; ++i) {
                float& sample = samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
                const float in = sample;
                previousOut = a * (previousOut + in - previousIn);
                previousIn = in;
                if (pass == 1) sample = previousOut;
            }
        }
    }
}

void ScaleToPeak(std::vector<float>& samples, float peak) {
    float loudest = 0.0f;
    for (float s : samples) loudest = std::max(loudest, std::fabs(s));
    if (loudest <= 0.0f) return;
    for (float& s : samples) s *= peak / loudest;
}

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
