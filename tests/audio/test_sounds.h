// Sounds made for the audio tests: effects of one constant level, the easiest thing to find and
// measure in the mixed output, and short tunes of a tone and a silence.
#pragma once

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/wav_file.h"
#include "tools/assetgen/ogg_encoder.h"

namespace audio_test {

// A file name in a folder of this test process.
inline std::filesystem::path Scratch(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("starwake-audio-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder / name;
}

inline std::filesystem::path WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = Scratch(name);
    common::WriteFileAtomically(path, bytes, nullptr);
    return path;
}

inline std::vector<std::uint8_t> LevelWav(std::int16_t level, double seconds, int rate = 22050) {
    common::PcmSound sound;
    sound.sampleRate = rate;
    sound.samples.assign(static_cast<std::size_t>(seconds * rate), level);
    return common::EncodeWav(sound);
}

// A 440 Hz tone for toneSeconds, then silence to the end, each end faded over 5 ms.
inline std::vector<std::uint8_t> ToneOgg(double toneSeconds, double seconds, float amplitude = 0.5f) {
    constexpr int kRate = 44100;
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    const auto toneFrames = static_cast<std::size_t>(toneSeconds * kRate);
    std::vector<float> samples(2 * frames, 0.0f);
    for (std::size_t i = 0; i < toneFrames; ++i) {
        const double fade = std::min({1.0, i / 220.0, (toneFrames - i) / 220.0});
        samples[2 * i] = samples[2 * i + 1] =
            static_cast<float>(amplitude * fade * std::sin(6.283185307 * 440.0 * i / kRate));
    }
    return assetgen::EncodeOggVorbis(samples, kRate, 0.4f);
}

}  // namespace audio_test
