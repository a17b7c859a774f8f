#include <gtest/gtest.h>

#include <cstring>

#include "common/bmp.h"

namespace {

common::Image Checker(int w, int h) {
    common::Image image(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.At(x, y) = common::Argb(0x12, (x * 37) & 0xFF, (y * 91) & 0xFF, (x ^ y) & 0xFF);
        }
    }
    return image;
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// A bitmap with an info header and the given pixel bytes, bottom-up unless height < 0.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits, std::uint32_t compression,
                                  const std::vector<std::uint8_t>& extra,
                                  const std::vector<std::uint8_t>& pixels) {
    std::vector<std::uint8_t> b(54 + extra.size() + pixels.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, static_cast<std::uint32_t>(54 + extra.size()));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    Put32(b, 30, compression);
    std::copy(extra.begin(), extra.end(), b.begin() + 54);
    std::copy(pixels.begin(), pixels.end(), b.begin() + 54 + static_cast<std::ptrdiff_t>(extra.size()));
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

TEST(Bmp, TwentyFourBitRoundTripIsExactWithPaddedRowsAndOpaque) {
    for (int width : {1, 2, 3, 5, 64}) {
        common::Image original = Checker(width, 7);
        const auto bytes = common::EncodeBmp24(original);
        std::string error;
        const auto decoded = common::DecodeBmp(bytes, &error);
        ASSERT_TRUE(decoded) << error;
        // The alpha is not stored: every pixel comes back opaque.
        for (std::uint32_t& p : original.pixels) {
            p |= 0xFF000000u;
        }
        EXPECT_EQ(decoded->pixels, original.pixels) << "width " << width;
    }
}

TEST(Bmp, TopDownAndIndexedAndBitFieldBitmapsRead) {
    // 2 x 2, 8 bits, palette of two colours, top-down: first row is the top.
    std::vector<std::uint8_t> palette = {0, 0, 255, 0, 0, 255, 0, 0};  // red, green (BGRx)
    std::vector<std::uint8_t> rows = {0, 1, 0, 0, 1, 1, 0, 0};          // 4-byte padded rows
    auto indexed = MakeBmp(2, -2, 8, 0, palette, rows);
    Put32(indexed, 46, 2);  // two palette entries
    const auto image = common::DecodeBmp(indexed, nullptr);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image->At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(image->At(0, 1), 0xFF00FF00u);

    // 16-bit R5G6B5 with bit fields: pure white and pure blue.
    std::vector<std::uint8_t> masks(12);
    std::uint32_t m[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(masks.data(), m, 12);
    const auto rgb565 = MakeBmp(2, 1, 16, 3, masks, {0xFF, 0xFF, 0x1F, 0x00});
    const auto wide = common::DecodeBmp(rgb565, nullptr);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(wide->At(1, 0), 0xFF0000FFu);

    // An index beyond a short palette reads as black, not as memory after it.
    auto shortPalette = MakeBmp(1, 1, 8, 0, {0, 0, 255, 0}, {7, 0, 0, 0});
    Put32(shortPalette, 46, 1);
    const auto beyond = common::DecodeBmp(shortPalette, nullptr);
    ASSERT_TRUE(beyond);
    EXPECT_EQ(beyond->At(0, 0), 0xFF000000u);
}

TEST(Bmp, TruncatedAtEveryByteIsRefusedCleanly) {
    const auto bytes = common::EncodeBmp24(Checker(5, 3));
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        std::string error;
        const auto decoded = common::DecodeBmp(std::span(bytes.data(), length), &error);
        EXPECT_FALSE(decoded) << "length " << length;
        EXPECT_FALSE(error.empty());
    }
}

TEST(Bmp, LyingHeadersAreRefusedWithoutHugeAllocations) {
    auto base = common::EncodeBmp24(Checker(4, 4));
    struct Lie {
        std::size_t at;
        std::uint32_t value;
        const char* what;
    };
    const Lie lies[] = {
        {18, 0, "zero width"},
        {22, 0, "zero height"},
        {18, 100000, "huge width"},
        {22, 100000, "huge height"},
        {18, 0x80000000u, "negative width"},
        {22, 0x80000000u, "most negative height"},
        {10, 0xFFFFFFF0u, "pixel offset beyond the file"},
        {14, 7, "unknown header size"},
        {28, 12, "12 bits per pixel"},
        {30, 1, "run-length compression"},
    };
    for (const Lie& lie : lies) {
        auto bytes = base;
        if (lie.at == 28) {
            bytes[28] = static_cast<std::uint8_t>(lie.value);
            bytes[29] = 0;
        } else {
            Put32(bytes, lie.at, lie.value);
        }
        std::string error;
        EXPECT_FALSE(common::DecodeBmp(bytes, &error)) << lie.what;
        EXPECT_FALSE(error.empty()) << lie.what;
    }
    // A few bytes a row at one bit per pixel: a picture wider than a texture can be is refused
    // however little the file holds, so a small file never loads into hundreds of megabytes.
    const std::vector<std::uint8_t> palette(8, 0);
    std::string error;
    EXPECT_TRUE(common::DecodeBmp(MakeBmp(4096, 2, 1, 0, palette, std::vector<std::uint8_t>(2 * 512, 0)), &error))
        << error;
    EXPECT_FALSE(common::DecodeBmp(MakeBmp(4097, 2, 1, 0, palette, std::vector<std::uint8_t>(2 * 516, 0)), &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

}  // namespace
