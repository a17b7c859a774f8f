// Sound effects as the sound service loads them: the WAV reader, then the samples turned into
// the output's 16-bit stereo at 44100 Hz. A sound keeps its length (each input frame gives the
// output's rate over its own in output frames, give or take the last), and a mono sound plays
// the same on both sides.
#include <cmath>
#include <string>

#include "common/wav_file.h"
#include "platform/sound_files.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto samples = platform::DecodeSoundBytes({data, size}, platform::SoundFileType::kWav, &error);
    if (!samples) {
        FUZZ_REQUIRE(!error.empty());
        return 0;
    }
    const auto sound = common::DecodeWav({data, size}, &error);
    FUZZ_REQUIRE(sound);
    FUZZ_REQUIRE(samples->size() % platform::kOutputChannels == 0);
    const double frames = static_cast<double>(sound->samples.size() / static_cast<std::size_t>(sound->channels));
    const double expected = frames * platform::kOutputRate / sound->sampleRate;
    FUZZ_REQUIRE(std::fabs(static_cast<double>(samples->size() / platform::kOutputChannels) - expected) <= 2.0);
    if (sound->channels == 1) {
        for (std::size_t i = 0; i + 1 < samples->size(); i += 2) {
            FUZZ_REQUIRE((*samples)[i] == (*samples)[i + 1]);
        }
    }
    return 0;
}
