#include "tools/assetgen/music.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/assetgen/ogg_encoder.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/sound_synth.h"

namespace assetgen {

namespace {

enum class Voice { kBass, kPad, kPluck, kLead, kKick, kSnare, kHat, kTom };

// A loop being mixed: two buses of interleaved stereo, the second sent through the echo.
struct LoopMix {
    long frames = 0;
    std::vector<float> dry;
    std::vector<float> echo;
};

// One sample of a voice at time t (seconds) into a note of the given frequency and length.
// state carries filters and noise between samples of one note.
struct VoiceState {
    float low = 0.0f;
    float lower = 0.0f;
    std::uint32_t noise = 0x9E3779B9u;
    double phase = 0.0;
};

float Release(double t, double length, double release) {
    if (t < length) return 1.0f;
    return static_cast<float>(std::max(0.0, 1.0 - (t - length) / release));
}

float VoiceSample(Voice voice, double t, double frequency, double length, VoiceState& s) {
    switch (voice) {
        case Voice::kBass: {
            const float raw = 0.7f * Saw(frequency * t) + 0.5f * Square(frequency * 0.5 * t);
            const float cutoff = 0.03f + 0.12f * AttackDecay(t, 0.005, 0.12);
            s.low += cutoff * (raw - s.low);
            s.lower += cutoff * (s.low - s.lower);
            return s.lower * AttackDecay(t, 0.004, 0.6) * Release(t, length, 0.05);
        }
        case Voice::kPad: {
            const float raw = (Saw(frequency * t) + Saw(frequency * 1.006 * t) + Saw(frequency * 0.994 * t + 0.3)) / 3.0f;
            s.low += 0.05f * (raw - s.low);
            s.lower += 0.05f * (s.low - s.lower);
            const float swell = static_cast<float>(std::min(1.0, t / 0.6));
            return s.lower * swell * Release(t, length, 0.8);
        }
        case Voice::kPluck: {
            const float raw = 0.6f * Square(frequency * t) + 0.4f * Triangle(frequency * 2.0 * t);
            const float cutoff = 0.04f + 0.35f * AttackDecay(t, 0.001, 0.05);
            s.low += cutoff * (raw - s.low);
            return s.low * AttackDecay(t, 0.002, 0.18) * Release(t, length, 0.05);
        }
        case Voice::kLead: {
            const double vibrato = 1.0 + 0.004 * std::sin(6.283 * 5.5 * t) * std::min(1.0, t * 3.0);
            const float raw = 0.65f * Triangle(frequency * vibrato * t) + 0.35f * Saw(frequency * vibrato * t);
            s.low += 0.2f * (raw - s.low);
            return s.low * static_cast<float>(std::min(1.0, t / 0.03)) * Release(t, length, 0.12);
        }
        case Voice::kKick: {
            s.phase += (45.0 + 90.0 * std::exp(-t * 30.0)) / kMusicRate;
            return Sine(s.phase) * AttackDecay(t, 0.001, 0.16);
        }
        case Voice::kSnare: {
            const float noise = Noise(&s.noise);
            s.low += 0.5f * (noise - s.low);
            return (0.7f * (noise - 0.5f * s.low) + 0.4f * Sine(185.0 * t)) * AttackDecay(t, 0.001, 0.09);
        }
        case Voice::kHat: {
            const float noise = Noise(&s.noise);
            s.low += 0.6f * (noise - s.low);
            return (noise - s.low) * AttackDecay(t, 0.0005, 0.025);
        }
        case Voice::kTom: {
            s.phase += (90.0 + 60.0 * std::exp(-t * 12.0)) * (frequency / 100.0) / kMusicRate;
            return Sine(s.phase) * AttackDecay(t, 0.001, 0.2);
        }
    }
    return 0.0f;
}

// How long a voice rings after its note ends.
double Tail(Voice voice) {
    switch (voice) {
        case Voice::kPad: return 0.9;
        case Voice::kKick: case Voice::kTom: return 1.0;
        case Voice::kSnare: return 0.6;
        case Voice::kHat: return 0.2;
        default: return 0.4;
    }
}

// Adds a note; samples past the loop's end wrap round to its start.
void AddNote(LoopMix& mix, Voice voice, double start, double length, int midiNote, float volume, float pan,
             float echoSend) {
    VoiceState state;
    state.noise ^= static_cast<std::uint32_t>(start * 1000.0) * 2654435761u;
    const double frequency = NoteFrequency(midiNote);
    const long first = static_cast<long>(start * kMusicRate);
    const long count = static_cast<long>((length + Tail(voice)) * kMusicRate);
    const float left = volume * std::sqrt(0.5f * (1.0f - pan)), right = volume * std::sqrt(0.5f * (1.0f + pan));
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kMusicRate;
        const float v = VoiceSample(voice, t, frequency, length, state);
        const long at = (first + i) % mix.frames;
        mix.dry[2 * at] += left * v;
        mix.dry[2 * at + 1] += right * v;
        mix.echo[2 * at] += echoSend * left * v;
        mix.echo[2 * at + 1] += echoSend * right * v;
    }
}

struct Chord {
    std::array<int, 4> notes;  // MIDI notes around middle C; the first is the root
};

struct Style {
    std::array<Chord, 4> chords;
    int barsPerChord;
    std::array<int, 7> scale;  // semitones above the key's root, for the melody
    int keyRoot;               // MIDI note of the melody's home
    float swing;
    int drumStyle;             // 0 four on the floor, 1 sparse, 2 driving toms, 3 battle
    int arpStyle;              // 0 up 16ths, 1 slow 8ths, 2 ostinato, 3 broken chords
};

Style StyleOf(int index) {
    switch (index) {
        case 0:  // A minor: Am F C G, driving
            return {{{{{57, 60, 64, 69}}, {{53, 57, 60, 65}}, {{48, 52, 55, 60}}, {{55, 59, 62, 67}}}},
                    1, {0, 2, 3, 5, 7, 8, 10}, 69, 0.0f, 0, 0};
        case 1:  // D dorian: Dm7 G Bbmaj7 Am7, slow and wide
            return {{{{{50, 57, 60, 65}}, {{55, 59, 62, 65}}, {{46, 57, 62, 65}}, {{45, 55, 60, 64}}}},
                    2, {0, 2, 3, 5, 7, 9, 10}, 62, 0.0f, 1, 1};
        case 2:  // E phrygian: Em F Em Dm, tense
            return {{{{{52, 55, 59, 64}}, {{53, 57, 60, 65}}, {{52, 55, 59, 64}}, {{50, 53, 57, 62}}}},
                    1, {0, 1, 3, 5, 7, 8, 10}, 64, 0.0f, 2, 2};
        default:  // C minor: Cm Ab Eb Bb, battle
            return {{{{{48, 55, 60, 63}}, {{44, 51, 56, 60}}, {{51, 58, 63, 67}}, {{46, 53, 58, 62}}}},
                    1, {0, 2, 3, 5, 7, 8, 10}, 72, 0.0f, 3, 3};
    }
}

// A two-bar melody phrase: (beat offset, length in beats, scale step) triples.
struct MelodyNote {
    double beat;
    double length;
    int step;
};

std::vector<MelodyNote> MakePhrase(Rng& rng) {
    std::vector<MelodyNote> phrase;
    double beat = 0.0;
    int step = rng.Below(5);
    while (beat < 7.5) {
        const double length = rng.Chance(0.5) ? 0.5 : (rng.Chance(0.6) ? 1.0 : 1.5);
        if (!rng.Chance(0.15)) {
            phrase.push_back({beat, std::min(length, 8.0 - beat) * 0.9, step});
        }
        beat += length;
        step += rng.Below(5) - 2;
        step = std::clamp(step, -2, 9);
    }
    return phrase;
}

int ScaleNote(const Style& style, int step) {
    const int octave = (step >= 0 ? step / 7 : (step - 6) / 7);
    const int degree = step - octave * 7;
    return style.keyRoot + 12 * octave + style.scale[static_cast<std::size_t>(degree)];
}

void Compose(LoopMix& mix, const TunePlan& tune, int index) {
    const Style style = StyleOf(index);
    const double beat = 60.0 / tune.beatsPerMinute;
    const double bar = 4.0 * beat;
    Rng rng = AssetRng(tune.fileName);
    std::array<std::vector<MelodyNote>, 3> phrases = {MakePhrase(rng), MakePhrase(rng), MakePhrase(rng)};
    for (int b = 0; b < tune.bars; ++b) {
        const int section = b / 8;
        const int lastSection = (tune.bars - 1) / 8;
        // Energy by section: intro, build, full, melody, breakdown, full ... and a calmer end
        // that leads back into the intro when the file starts again.
        const bool intro = section == 0;
        const bool breakdown = section == 4;
        const bool outro = section == lastSection && section > 0;
        const bool drums = !intro && !breakdown;
        const bool melody = (section == 3 || section == 5 || (section == 2 && index == 3)) && !outro;
        const Chord& chord = style.chords[static_cast<std::size_t>((b / style.barsPerChord) % 4)];
        const double t0 = b * bar;
        // Pad: the whole chord, one bar.
        for (int n = 1; n < 4; ++n) {
            AddNote(mix, Voice::kPad, t0, bar, chord.notes[n], 0.11f, n == 1 ? -0.5f : (n == 2 ? 0.5f : 0.0f), 0.3f);
        }
        // Bass.
        if (!intro || index == 2) {
            const int root = chord.notes[0] - 12;
            const int steps = style.arpStyle == 2 ? 16 : 8;
            for (int i = 0; i < steps; ++i) {
                if (style.arpStyle == 1 && i % 4 != 0) continue;
                const double length = (style.arpStyle == 1 ? 4 : (steps == 16 ? 0.25 : 0.5)) * beat * 0.9;
                const int note = root + ((style.arpStyle == 3 && i % 4 == 3) ? 7 : 0) + ((style.arpStyle == 0 && i % 8 == 6) ? 12 : 0);
                AddNote(mix, Voice::kBass, t0 + i * (4.0 / steps) * beat, length, note, 0.32f, 0.0f, 0.0f);
            }
        }
        // Arpeggio, in every section: it carries the intro.
        {
            const int perBar = style.arpStyle == 1 ? 8 : 16;
            for (int i = 0; i < perBar; ++i) {
                if (style.arpStyle == 1 && rng.Chance(0.35)) continue;
                int note = chord.notes[static_cast<std::size_t>(1 + i % 3)] + 12;
                if (style.arpStyle == 2) note = chord.notes[static_cast<std::size_t>(i % 2 == 0 ? 0 : 1)] + 12 + (i % 4 == 3 ? 12 : 0);
                if (style.arpStyle == 3) note = chord.notes[static_cast<std::size_t>((i * 3) % 4)] + 12;
                const double step = 4.0 / perBar * beat;
                AddNote(mix, Voice::kPluck, t0 + i * step, step * 0.8, note, breakdown ? 0.08f : 0.1f,
                        (i % 2) ? 0.4f : -0.4f, 0.45f);
            }
        }
        // Melody.
        if (melody) {
            const auto& phrase = phrases[static_cast<std::size_t>((b / 2) % 4 == 3 ? 2 : ((b / 2) % 2))];
            if (b % 2 == 0) {
                for (const MelodyNote& note : phrase) {
                    AddNote(mix, Voice::kLead, t0 + note.beat * beat, note.length * beat, ScaleNote(style, note.step),
                            0.14f, 0.1f, 0.35f);
                }
            }
        }
        // Drums.
        if (drums) {
            for (int i = 0; i < 16; ++i) {
                const double t = t0 + i * 0.25 * beat;
                const bool onBeat = i % 4 == 0;
                switch (style.drumStyle) {
                    case 0:
                        if (onBeat) AddNote(mix, Voice::kKick, t, 0.1, 36, 0.55f, 0.0f, 0.0f);
                        if (i == 4 || i == 12) AddNote(mix, Voice::kSnare, t, 0.1, 38, 0.3f, 0.1f, 0.1f);
                        if (i % 2 == 0) AddNote(mix, Voice::kHat, t, 0.05, 42, i % 4 == 2 ? 0.14f : 0.08f, -0.3f, 0.0f);
                        break;
                    case 1:
                        if (i == 0 || i == 10) AddNote(mix, Voice::kKick, t, 0.1, 36, 0.4f, 0.0f, 0.0f);
                        if (i == 8) AddNote(mix, Voice::kSnare, t, 0.1, 38, 0.15f, 0.2f, 0.5f);
                        if (i % 4 == 2) AddNote(mix, Voice::kHat, t, 0.05, 42, 0.06f, 0.4f, 0.3f);
                        break;
                    case 2:
                        if (i % 8 == 0 || i == 3 || i == 11) AddNote(mix, Voice::kKick, t, 0.1, 36, 0.5f, 0.0f, 0.0f);
                        if (i == 4 || i == 12) AddNote(mix, Voice::kSnare, t, 0.1, 38, 0.28f, 0.0f, 0.1f);
                        if (b % 4 == 3 && i >= 12) AddNote(mix, Voice::kTom, t, 0.1, 100 - (i - 12) * 10, 0.35f, -0.3f + 0.2f * (i - 12), 0.0f);
                        AddNote(mix, Voice::kHat, t, 0.05, 42, i % 2 ? 0.05f : 0.09f, 0.3f, 0.0f);
                        break;
                    default:
                        if (onBeat || i == 7 || i == 10) AddNote(mix, Voice::kKick, t, 0.1, 36, 0.55f, 0.0f, 0.0f);
                        if (i == 4 || i == 12) AddNote(mix, Voice::kSnare, t, 0.1, 38, 0.34f, 0.0f, 0.15f);
                        if (b % 8 == 7 && i % 2 == 0 && i >= 8) AddNote(mix, Voice::kTom, t, 0.1, 120 - i * 4, 0.35f, 0.0f, 0.0f);
                        if (i % 2 == 0) AddNote(mix, Voice::kHat, t, 0.05, 42, 0.08f, -0.2f, 0.0f);
                        break;
                }
            }
        }
    }
}

// A ping-pong echo over the loop, run twice round so the echoes of the end land in the start.
void ApplyEcho(LoopMix& mix, double delaySeconds) {
    const long delay = static_cast<long>(delaySeconds * kMusicRate);
    std::vector<float> line(static_cast<std::size_t>(2 * delay), 0.0f);
    long at = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (long i = 0; i < mix.frames; ++i) {
            const float left = line[static_cast<std::size_t>(2 * at)], right = line[static_cast<std::size_t>(2 * at + 1)];
            if (pass == 1) {
                mix.dry[2 * i] += 0.5f * left;
                mix.dry[2 * i + 1] += 0.5f * right;
            }
            // Crossed feedback bounces the echo between the ears.
            line[static_cast<std::size_t>(2 * at)] = mix.echo[2 * i + 1] + 0.4f * right;
            line[static_cast<std::size_t>(2 * at + 1)] = mix.echo[2 * i] + 0.4f * left;
            at = (at + 1) % delay;
        }
    }
}

}  // namespace

long TuneFrames(const TunePlan& tune) {
    return static_cast<long>(tune.bars * 4.0 * 60.0 / tune.beatsPerMinute * kMusicRate);
}

std::vector<float> RenderTune(int index) {
    const TunePlan& tune = kTunes[index];
    LoopMix mix;
    mix.frames = TuneFrames(tune);
    mix.dry.assign(static_cast<std::size_t>(2 * mix.frames), 0.0f);
    mix.echo.assign(static_cast<std::size_t>(2 * mix.frames), 0.0f);
    Compose(mix, tune, index);
    ApplyEcho(mix, 0.75 * 60.0 / tune.beatsPerMinute);
    RemoveDc(mix.dry, 2, kMusicRate, true);
    // The music sits under the effects: every tune at the same RMS level, with its peaks well
    // clear of full scale so the encoder's ripple and an effect on top still fit.
    float peak = 0.0f;
    double energy = 0.0;
    for (float s : mix.dry) {
        peak = std::max(peak, std::fabs(s));
        energy += static_cast<double>(s) * s;
    }
    const double rms = std::sqrt(energy / static_cast<double>(mix.dry.size()));
    const float gain = peak > 0.0f ? std::min(kTunePeak / peak, static_cast<float>(kTuneRms / rms)) : 1.0f;
    // Fade a few milliseconds in and out so both ends of the file are silent.
    const long fade = kMusicRate / 100;
    for (long i = 0; i < mix.frames; ++i) {
        float edge = 1.0f;
        if (i < fade) edge = static_cast<float>(i) / fade;
        if (mix.frames - 1 - i < fade) edge = static_cast<float>(mix.frames - 1 - i) / fade;
        mix.dry[2 * i] *= gain * edge;
        mix.dry[2 * i + 1] *= gain * edge;
    }
    return std::move(mix.dry);
}

DataFile MakeTune(int index) {
    const std::vector<float> samples = RenderTune(index);
    return {kTunes[index].fileName, EncodeOggVorbis(samples, kMusicRate, 0.3f)};
}

}  // namespace assetgen
