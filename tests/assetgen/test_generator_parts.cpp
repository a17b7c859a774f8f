// Generator pieces whose faults the generated files would not show: the read-back yardsticks
// the data tests lean on, and edges of the encoders the current assets never reach.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/sound_files.h"
#include "tools/assetgen/levels.h"
#include "tools/assetgen/ogg_encoder.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/sound_synth.h"

namespace {

using assetgen::Rgb;

TEST(Raster, KeyedPicturesNeverUseTheKeyInsideAShape) {
    assetgen::Canvas canvas(4, 1);
    canvas.At(0, 0) = Rgb(0, 0, 0);          // opaque black: must stay visible
    canvas.At(1, 0) = Rgb(255, 255, 255);    // opaque white
    canvas.At(2, 0) = {1.0f, 1.0f, 1.0f, 0.01f};
    const common::Image black = assetgen::ToKeyedImage(canvas, assetgen::kKeyBlack, Rgb(0, 0, 0));
    EXPECT_NE(black.At(0, 0), assetgen::kKeyBlack);
    EXPECT_EQ(black.At(2, 0), assetgen::kKeyBlack);
    EXPECT_EQ(black.At(3, 0), assetgen::kKeyBlack);
    const common::Image white = assetgen::ToKeyedImage(canvas, assetgen::kKeyWhite, Rgb(0, 0, 0));
    EXPECT_NE(white.At(1, 0), assetgen::kKeyWhite);
    EXPECT_EQ(white.At(3, 0), assetgen::kKeyWhite);
}

// The data tests measure clearances with it, so it must be right across the wrap.
TEST(Levels, WrappedDistanceTakesTheShortWayRound) {
    EXPECT_DOUBLE_EQ(assetgen::WrappedDistance(10, 0, 5110, 0), 20.0);
    EXPECT_DOUBLE_EQ(assetgen::WrappedDistance(0, 5000, 0, 100), 220.0);
    EXPECT_DOUBLE_EQ(assetgen::WrappedDistance(0, 0, 30, 40), 50.0);
}

TEST(OggVorbis, EncodingIsRepeatableAndGarbageIsRefused) {
    std::vector<float> tone(2 * 30000);
    for (std::size_t i = 0; i < tone.size() / 2; ++i) {
        tone[2 * i] = tone[2 * i + 1] = 0.3f * assetgen::Sine(440.0 * static_cast<double>(i) / 44100.0);
    }
    const auto bytes = assetgen::EncodeOggVorbis(tone, 44100, 0.3f);
    std::string error;
    const auto decoded = platform::DecodeSoundBytes(bytes, platform::SoundFileType::kOggVorbis, &error);
    ASSERT_TRUE(decoded.has_value()) << error;
    EXPECT_EQ(decoded->size(), 2u * 30000);
    EXPECT_EQ(bytes, assetgen::EncodeOggVorbis(tone, 44100, 0.3f)) << "the same samples must give the same file";
    EXPECT_FALSE(platform::DecodeSoundBytes(std::vector<std::uint8_t>(100, 7), platform::SoundFileType::kOggVorbis, &error));
}

}  // namespace
