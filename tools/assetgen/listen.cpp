// listen: what a sound sounds like, for people who cannot hear it. Reads a WAV or Ogg file
// (decoded as the game plays it) or a raw capture of the game's output (16-bit stereo at
// 44100 Hz, as SDL's disk audio driver writes it), prints its loudness and, with --levels,
// the level of every tenth of a second, and with --png draws its spectrogram.
//
//   listen FILE [--from SECONDS] [--to SECONDS] [--levels] [--png OUT [--width PIXELS]]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/file_io.h"
#include "common/png.h"
#include "common/sound_levels.h"
#include "platform/sound_files.h"
#include "tools/assetgen/frequency_picture.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: listen FILE [--from SECONDS] [--to SECONDS] [--levels] [--png OUT [--width PIXELS]]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string file = argv[1];
    std::string png;
    int width = 1600;
    double from = 0.0, to = 1e9;
    bool levels = false;
    for (int i = 2; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--png") == 0 && hasValue) {
            png = argv[++i];
        } else if (std::strcmp(argv[i], "--width") == 0 && hasValue) {
            width = std::max(16, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--from") == 0 && hasValue) {
            from = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--to") == 0 && hasValue) {
            to = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--levels") == 0) {
            levels = true;
        } else {
            return Usage();
        }
    }
    std::string error;
    const auto bytes = common::ReadFileBytes(file, 1u << 30, &error);
    if (!bytes) {
        std::fprintf(stderr, "listen: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::int16_t> samples;
    if (file.ends_with(".wav") || file.ends_with(".ogg")) {
        const auto type = file.ends_with(".wav") ? platform::SoundFileType::kWav : platform::SoundFileType::kOggVorbis;
        auto decoded = platform::DecodeSoundBytes(*bytes, type, &error);
        if (!decoded) {
            std::fprintf(stderr, "listen: %s: the game would refuse it: %s\n", file.c_str(), error.c_str());
            return 1;
        }
        samples = std::move(*decoded);
    } else {
        samples.resize(bytes->size() / 2);
        std::memcpy(samples.data(), bytes->data(), samples.size() * 2);
    }
    const std::size_t frames = samples.size() / 2;
    const auto frameAt = [&](double seconds) {
        return std::min(frames, static_cast<std::size_t>(std::max(0.0, seconds) * platform::kOutputRate));
    };
    const std::size_t first = frameAt(from), last = std::max(first, frameAt(to));
    const std::span<const std::int16_t> part(samples.data() + 2 * first, 2 * (last - first));
    const assetgen::Loudness loudness = assetgen::MeasureLoudness(part);
    std::printf("%s: %.2f s, peak %.1f dBFS, RMS %.1f dBFS, loudest 400 ms %.1f dBFS, DC %+.5f\n", file.c_str(),
                loudness.seconds, loudness.peakDb, loudness.rmsDb, loudness.loudestDb, loudness.dcOffset);
    if (levels) {
        const std::size_t tenth = platform::kOutputRate / 10 * 2;
        for (std::size_t at = 0; at < part.size(); at += tenth) {
            const auto window = part.subspan(at, std::min(tenth, part.size() - at));
            std::printf("%8.2f s  RMS %6.1f dBFS  peak %6.1f dBFS\n",
                        from + static_cast<double>(at / 2) / platform::kOutputRate,
                        common::Decibels(common::RmsLevel(window)), common::Decibels(common::PeakLevel(window)));
        }
    }
    if (!png.empty()) {
        if (!common::SavePng(png, assetgen::Spectrogram(part, width, 300), false, &error)) {
            std::fprintf(stderr, "listen: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
