#include <gtest/gtest.h>

#include <cmath>

#include "common/little_endian.h"
#include "common/sound_levels.h"
#include "common/wav_file.h"

namespace {

std::vector<std::uint8_t> Wav(int channels, int rate, std::vector<std::int16_t> samples) {
    common::PcmSound sound;
    sound.channels = channels;
    sound.sampleRate = rate;
    sound.samples = std::move(samples);
    return common::EncodeWav(sound);
}

void Set32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(WavFile, ReadsWhatTheWriterWroteAndTheVariantsOfOtherWriters) {
    const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768, 1234};
    std::string error;
    const auto stereo = common::DecodeWav(Wav(2, 44100, samples), &error);
    ASSERT_TRUE(stereo) << error;
    EXPECT_EQ(stereo->channels, 2);
    EXPECT_EQ(stereo->sampleRate, 44100);
    EXPECT_EQ(stereo->samples, samples);

    // An odd-sized chunk before the format (padded to even), 8-bit samples around 128, and a
    // partial last frame, which is dropped.
    std::vector<std::uint8_t> other = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    const std::vector<std::uint8_t> format = Wav(1, 8000, {});
    other.insert(other.end(), format.begin() + 12, format.begin() + 36);
    other[12 + 12 + 8 + 14] = 8;  // bits per sample
    other[12 + 12 + 8 + 12] = 1;  // bytes per frame
    const std::vector<std::uint8_t> data = {'d', 'a', 't', 'a', 3, 0, 0, 0, 128, 255, 0, 0};
    other.insert(other.end(), data.begin(), data.end());
    Set32(other, 4, static_cast<std::uint32_t>(other.size() - 8));
    const auto eightBit = common::DecodeWav(other, &error);
    ASSERT_TRUE(eightBit) << error;
    EXPECT_EQ(eightBit->samples, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256}));

    EXPECT_EQ(common::ToPcm16(std::vector<float>{2.0f, -2.0f, 0.5f}), (std::vector<std::int16_t>{32767, -32767, 16384}));
}

// A header never makes the reader believe more than the file holds, nor play a format it does not.
TEST(WavFile, RefusesLyingCutAndForeignFilesSayingWhy) {
    const std::vector<std::uint8_t> good = Wav(1, 22050, std::vector<std::int16_t>(100, 500));
    struct Case {
        const char* what;
        std::size_t at;       // byte changed (32-bit value), or cut length when value is ~0
        std::uint32_t value;
        const char* said;
    };
    const Case cases[] = {
        {"cut inside the samples", 100, ~0u, "declares"},
        {"cut inside the header", 30, ~0u, "declares"},
        {"a file that declares gigabytes", 4, 0xFFFFFFF0u, "declares 4294967280 bytes"},
        {"samples that declare gigabytes", 40, 0x7FFFFFF0u, "only 200 follow"},
        {"no channels", 22, 0x5622u << 16, "has 0 channels"},
        {"six channels", 22, (0x5622u << 16) | 6, "has 6 channels"},
        {"no rate", 24, 0, "rate of 0 Hz"},
        {"a compressed format", 20, 0x00010002u, "compressed (format 2)"},
        {"24-bit samples", 32, 0x00180003u, "24-bit"},
        {"another format under the name", 0, 0x474E5089u, "not a RIFF WAVE file"},
        {"no samples", 40, 0, "holds no samples"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        if (c.value == ~0u) {
            bytes.resize(c.at);
        } else {
            Set32(bytes, c.at, c.value);
        }
        std::string error;
        EXPECT_FALSE(common::DecodeWav(bytes, &error)) << c.what;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.what << ": " << error;
    }
    std::string error;
    EXPECT_FALSE(common::DecodeWav({}, &error));
}

TEST(SoundLevels, MeasureAgainstFullScale) {
    std::vector<std::int16_t> square(1000), sine(44100);
    for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 10) % 2 ? -32768 : 32767;
    for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = static_cast<std::int16_t>(16384 * std::sin(i * 0.05) + 3277);
    EXPECT_NEAR(common::RmsLevel(square), 1.0, 1e-4);
    EXPECT_NEAR(common::Decibels(common::PeakLevel(sine)), -4.44, 0.01);  // 0.6 of full scale
    EXPECT_NEAR(common::MeanLevel(sine), 0.1, 0.001);
    EXPECT_NEAR(common::Decibels(common::RmsLevel(std::vector<std::int16_t>(10, 3277))), -20.0, 0.01);
    EXPECT_EQ(common::RmsLevel({}), 0.0);
    EXPECT_EQ(common::Decibels(0.0), -200.0);
}

}  // namespace
