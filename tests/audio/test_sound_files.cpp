// The checks and decoding of sound files, on bytes alone, without a device.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

#include "platform/sound_files.h"
#include "tests/audio/test_sounds.h"

namespace {

using platform::SoundFileType;

std::vector<std::int16_t> Decoded(const std::vector<std::uint8_t>& bytes, SoundFileType type) {
    std::string error;
    auto samples = platform::DecodeSoundBytes(bytes, type, &error);
    EXPECT_TRUE(samples) << error;
    return samples.value_or(std::vector<std::int16_t>{});
}

TEST(EffectDecoding, EveryRateAndLayoutComesOutAsStereoAtTheOutputRate) {
    common::PcmSound mono;
    mono.sampleRate = 22050;
    mono.samples = {0, 1000, -1000, 3000};
    // Half the rate: each second frame lies half way between two of the file's; the last holds
    // to its end.
    EXPECT_EQ(Decoded(common::EncodeWav(mono), SoundFileType::kWav),
              (std::vector<std::int16_t>{0, 0, 500, 500, 1000, 1000, 0, 0, -1000, -1000, 1000, 1000, 3000, 3000, 3000, 3000}));

    common::PcmSound stereo;
    stereo.sampleRate = 44100;
    stereo.channels = 2;
    stereo.samples = {1, -1, 2, -2, 32767, -32768};
    EXPECT_EQ(Decoded(common::EncodeWav(stereo), SoundFileType::kWav), stereo.samples);

    // 48 kHz and 8 kHz keep their length in time.
    for (int rate : {48000, 8000}) {
        const auto samples = Decoded(audio_test::LevelWav(1000, 0.5, rate), SoundFileType::kWav);
        EXPECT_NEAR(static_cast<double>(samples.size()) / 2, 22050, 6) << rate;
        EXPECT_EQ(samples[samples.size() / 2], 1000) << rate;
    }
}

TEST(MusicDecoding, ATuneDecodesToItsLengthAndLevel) {
    const auto samples = Decoded(audio_test::ToneOgg(0.5, 0.5), SoundFileType::kOggVorbis);
    EXPECT_EQ(samples.size(), 2u * 22050);
    const auto peak = *std::max_element(samples.begin(), samples.end());
    EXPECT_NEAR(peak / 32768.0, 0.5, 0.03);
}

// Where the pages of an Ogg file start.
std::vector<std::size_t> PageStarts(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at + 4 <= bytes.size(); ++at) {
        if (std::memcmp(bytes.data() + at, "OggS", 4) == 0) starts.push_back(at);
    }
    return starts;
}

TEST(MusicDecoding, CutDamagedChainedAndForeignFilesAreRefusedSayingWhy) {
    const std::vector<std::uint8_t> good = audio_test::ToneOgg(4.0, 4.0);
    const std::vector<std::size_t> pages = PageStarts(good);
    ASSERT_GE(pages.size(), 4u);
    auto cut = [&](std::size_t length) { return std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)); };
    auto flipped = good;
    flipped[good.size() / 2] ^= 0x20;
    auto pageGone = good;
    pageGone.erase(pageGone.begin() + static_cast<std::ptrdiff_t>(pages[2]), pageGone.begin() + static_cast<std::ptrdiff_t>(pages[3]));
    auto twice = good;
    twice.insert(twice.end(), good.begin(), good.end());
    auto trailing = good;
    trailing.insert(trailing.end(), 100, 0);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* said;
    };
    const Case cases[] = {
        {"cut in half", cut(good.size() / 2), "cut short"},
        {"cut at a page's end", cut(pages.back()), "without its end-of-stream page"},
        {"a byte changed", flipped, "does not match its checksum"},
        {"a page missing", pageGone, "page 2 is missing"},
        {"two files in one", twice, "more after its end-of-stream page"},
        {"bytes after the end", trailing, "more after its end-of-stream page"},
        {"the start missing", std::vector<std::uint8_t>(good.begin() + static_cast<std::ptrdiff_t>(pages[1]), good.end()), "does not begin"},
        {"a WAV under the name", audio_test::LevelWav(100, 0.1), "not an Ogg file"},
        {"nothing", {}, "not an Ogg file"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(platform::DecodeSoundBytes(c.bytes, SoundFileType::kOggVorbis, &error)) << c.what;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.what << ": " << error;
    }
}

TEST(SoundFileReading, TheSizeIsCheckedBeforeAnythingIsRead) {
    std::string error;
    const auto refused = [&](const std::filesystem::path& path, std::uintmax_t limit, const char* said) {
        error.clear();
        EXPECT_FALSE(platform::ReadSoundFile(path, limit, &error)) << path;
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
        EXPECT_NE(error.find(said), std::string::npos) << error;
    };
    refused(audio_test::Scratch("missing.wav"), platform::kMaxEffectFileBytes, "no such file");
    refused(audio_test::WriteFile("empty.wav", {}), platform::kMaxEffectFileBytes, "empty");
    // Files far larger than their kind may be, which nothing must read: sparse, so they cost no disk.
    const auto huge = audio_test::Scratch("huge.ogg");
    audio_test::WriteFile("huge.ogg", {'O', 'g', 'g', 'S'});
    std::filesystem::resize_file(huge, 3ull << 30);
    refused(huge, platform::kMaxMusicFileBytes, "more than the 33554432");
    // A folder and a pipe under the name: refused at once, never waited on.
    std::filesystem::create_directories(audio_test::Scratch("folder.wav"));
    refused(audio_test::Scratch("folder.wav"), platform::kMaxEffectFileBytes, "not a file");
    const auto pipe = audio_test::Scratch("pipe.wav");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    refused(pipe, platform::kMaxEffectFileBytes, "not a file");
    std::filesystem::remove_all(huge.parent_path());
}

}  // namespace
