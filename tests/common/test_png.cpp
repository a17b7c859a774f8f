#include <gtest/gtest.h>

#include "common/png.h"

namespace {

TEST(Png, RoundTripKeepsEveryChannel) {
    common::Image image(5, 4);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint32_t>(i * 0x01030507u + 0x10000000u * (i % 3));
    }
    const auto withAlpha = common::DecodePng(common::EncodePng(image, true), nullptr);
    ASSERT_TRUE(withAlpha);
    EXPECT_EQ(withAlpha->pixels, image.pixels);

    const auto opaque = common::DecodePng(common::EncodePng(image, false), nullptr);
    ASSERT_TRUE(opaque);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        EXPECT_EQ(opaque->pixels[i], image.pixels[i] | 0xFF000000u);
    }
}

TEST(Png, DamagedFilesAreRefused) {
    common::Image image(3, 3, 0xFF808080u);
    const auto bytes = common::EncodePng(image, true);
    for (std::size_t length = 0; length < bytes.size() - 12; ++length) {
        EXPECT_FALSE(common::DecodePng(std::span(bytes.data(), length), nullptr)) << length;
    }
}

}  // namespace
