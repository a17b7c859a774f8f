#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/frame_scaler.h"
#include "platform/pixel_format.h"

namespace {

using namespace platform;

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// Scales a frame into a picture first filled with a marker colour, so that unwritten pixels show.
Picture Scale(const std::vector<std::uint16_t>& frame, int width, int height, ScalerPath path, bool bars) {
    FrameScaler scaler;
    PrepareScaler(scaler, width, height);
    Picture picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0x12345678u)};
    char* target = reinterpret_cast<char*>(picture.pixels.data());
    if (bars) {
        ClearBars(scaler, target, width * 4);
    }
    ScaleFrame(scaler, frame, target, width * 4, path);
    return picture;
}

std::vector<std::uint16_t> RandomFrame() {
    std::mt19937 random(7);
    std::vector<std::uint16_t> frame(static_cast<std::size_t>(kFrameWidth) * kFrameHeight);
    for (auto& pixel : frame) {
        pixel = static_cast<std::uint16_t>(random());
    }
    return frame;
}

TEST(FrameScaler, TheFrameKeepsItsShapeCentredBetweenBars) {
    struct Case {
        int width, height;
        FrameLayout expected;
    };
    const Case cases[] = {
        {1920, 1080, {240, 0, 1440, 1080}},  // wide: bars left and right
        {1024, 768, {0, 0, 1024, 768}},
        {800, 1000, {0, 200, 800, 600}},     // tall: bars above and below
        {801, 600, {0, 0, 800, 600}},        // one column to spare stays at the left
        {1280, 1024, {0, 32, 1280, 960}},
    };
    for (const Case& c : cases) {
        const FrameLayout layout = FitFrame(c.width, c.height);
        EXPECT_EQ(layout.left, c.expected.left) << c.width << " x " << c.height;
        EXPECT_EQ(layout.top, c.expected.top) << c.width << " x " << c.height;
        EXPECT_EQ(layout.width, c.expected.width) << c.width << " x " << c.height;
        EXPECT_EQ(layout.height, c.expected.height) << c.width << " x " << c.height;
    }
}

// Sizes that take each way through: bilinear with column blocks (1.8, 1.28, just above 1),
// shrinking (beyond the blocks' reach), whole scales 1 and 2, and a width that leaves a tail
// of columns after the last full block.
TEST(FrameScaler, VectorPathsGiveThePlainPathsPixelsAtEverySize) {
    const std::vector<std::uint16_t> frame = RandomFrame();
    const int sizes[][2] = {{1920, 1080}, {1024, 768}, {840, 630}, {500, 375},
                            {800, 600}, {1600, 1200}, {1283, 1000}};
    for (const ScalerPath path : {ScalerPath::kAvx2, ScalerPath::kAvx512}) {
        if (!ScalerPathAvailable(path)) {
            std::printf("this processor lacks vector path %d: not compared\n", static_cast<int>(path));
            continue;
        }
        for (const auto& size : sizes) {
            const Picture plain = Scale(frame, size[0], size[1], ScalerPath::kPlain, true);
            const Picture vector = Scale(frame, size[0], size[1], path, true);
            int differences = 0;
            for (std::size_t i = 0; i < plain.pixels.size(); ++i) {
                differences += plain.pixels[i] != vector.pixels[i] ? 1 : 0;
            }
            EXPECT_EQ(differences, 0) << size[0] << " x " << size[1] << " on path " << static_cast<int>(path);
        }
    }
}

// A sequence of small changes at the edges that tracking can get wrong (first and last rows
// and columns, single pixels, the two sides of a 64-bit word and of a vector block, rows just
// inside and just beyond the gap that joins bands), scaled change by change into one picture
// on every path: each step must equal the plain path scaling the whole frame into a fresh
// picture, and every pixel that differs from the step before must lie in a changed rectangle.
TEST(FrameScaler, ScalingOnlyTheChangesGivesTheWholeFramesPixels) {
    std::vector<std::vector<std::uint16_t>> frames{RandomFrame()};
    auto change = [&](std::initializer_list<std::pair<int, int>> pixels) {
        std::vector<std::uint16_t> next = frames.back();
        for (const auto& [x, y] : pixels) {
            auto& pixel = next[static_cast<std::size_t>(y) * kFrameWidth + static_cast<std::size_t>(x)];
            pixel = static_cast<std::uint16_t>(~pixel);
        }
        frames.push_back(std::move(next));
    };
    change({{0, 0}});
    change({{799, 599}});
    change({{799, 0}, {0, 599}});
    change({});
    change({{3, 300}, {4, 301}});
    change({{8, 50}, {9, 50}, {15, 51}, {16, 51}, {17, 51}});
    change({{400, 10}, {400, 13}, {600, 17}, {200, 100}, {201, 599}});
    change({{799, 200}, {799, 201}, {799, 202}, {0, 203}});
    frames.push_back(RandomFrame());
    frames.back()[12345] ^= 1;
    const int sizes[][2] = {{1920, 1080}, {1024, 768}, {500, 375}, {800, 600}, {1600, 1200}, {1283, 1000}};
    for (const auto& size : sizes) {
        const int width = size[0], height = size[1];
        std::vector<Picture> expected;
        for (const auto& frame : frames) {
            expected.push_back(Scale(frame, width, height, ScalerPath::kPlain, true));
        }
        for (const ScalerPath path : {ScalerPath::kPlain, ScalerPath::kAvx2, ScalerPath::kAvx512}) {
            if (!ScalerPathAvailable(path)) {
                continue;
            }
            FrameScaler scaler;
            PrepareScaler(scaler, width, height);
            std::vector<std::uint32_t> picture(static_cast<std::size_t>(width) * height, 0x12345678u);
            char* target = reinterpret_cast<char*>(picture.data());
            ClearBars(scaler, target, width * 4);
            for (std::size_t step = 0; step < frames.size(); ++step) {
                ScaleChangedFrame(scaler, frames[step], target, width * 4, path);
                const auto where = [&] { return testing::Message() << width << " x " << height << ", path "
                                                                    << static_cast<int>(path) << ", step " << step; };
                int wrong = 0, unshown = 0;
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        const std::size_t i = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
                        wrong += picture[i] != expected[step].pixels[i] ? 1 : 0;
                        if (step > 0 && expected[step].pixels[i] != expected[step - 1].pixels[i]) {
                            const bool shown = std::any_of(
                                scaler.changedRects.begin(), scaler.changedRects.end(), [&](const OutputRect& r) {
                                    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
                                });
                            unshown += shown ? 0 : 1;
                        }
                    }
                }
                EXPECT_EQ(wrong, 0) << where();
                EXPECT_EQ(unshown, 0) << where();
                if (step == 4) {
                    EXPECT_TRUE(scaler.changedRects.empty()) << where();  // nothing changed
                }
                if (step == 1) {
                    // One pixel reaches a few output pixels, not the frame.
                    ASSERT_EQ(scaler.changedRects.size(), 1u) << where();
                    EXPECT_LE(scaler.changedRects[0].width * scaler.changedRects[0].height, 64) << where();
                }
            }
            // A new picture holds nothing: after it is forgotten the same frame is scaled whole.
            std::fill(picture.begin(), picture.end(), 0u);
            ForgetLastFrame(scaler);
            ScaleChangedFrame(scaler, frames.back(), target, width * 4, path);
            EXPECT_EQ(picture, expected.back().pixels) << width << " x " << height << " forgotten";
        }
    }
}

TEST(FrameScaler, BilinearKeepsFlatColoursAndEdgesAndFillsOnlyTheFrame) {
    // Left half one colour, right half another: flat areas stay exact, the seam is a ramp
    // between them, the outermost pixels are the source's own, and the bars are black.
    std::vector<std::uint16_t> frame(static_cast<std::size_t>(kFrameWidth) * kFrameHeight);
    const std::uint16_t left = ToR5G6B5(0xFF2040C0u), right = ToR5G6B5(0xFFE0A010u);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            frame[static_cast<std::size_t>(y) * kFrameWidth + static_cast<std::size_t>(x)] = x < 400 ? left : right;
        }
    }
    for (const ScalerPath path : {ScalerPath::kPlain, ScalerPath::kBest}) {
        const Picture picture = Scale(frame, 1920, 1080, path, true);
        const std::uint32_t leftWide = FromR5G6B5(left), rightWide = FromR5G6B5(right);
        EXPECT_EQ(picture.At(240, 0), leftWide);
        EXPECT_EQ(picture.At(1679, 1079), rightWide);
        EXPECT_EQ(picture.At(239, 540), 0u);
        EXPECT_EQ(picture.At(1680, 540), 0u);
        int ramp = 0;
        std::uint32_t red = (leftWide >> 16) & 0xFF;
        for (int x = 240; x < 1680; ++x) {
            const std::uint32_t pixel = picture.At(x, 777);
            EXPECT_EQ(pixel, picture.At(x, 3)) << "column " << x;  // flat downwards
            const std::uint32_t r = (pixel >> 16) & 0xFF;
            EXPECT_GE(r, red) << "column " << x;  // the red channel only rises left to right
            ramp += pixel != leftWide && pixel != rightWide ? 1 : 0;
            red = r;
        }
        EXPECT_GE(ramp, 1);
        EXPECT_LE(ramp, 2);  // the seam spreads over the 1.8 pixels one source pixel covers
    }
}

TEST(FrameScaler, AWholeScaleRepeatsEveryPixel) {
    const std::vector<std::uint16_t> frame = RandomFrame();
    const Picture picture = Scale(frame, 1600, 1300, ScalerPath::kBest, false);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{799, 599}, std::pair{123, 456}}) {
        const std::uint32_t source = FromR5G6B5(frame[static_cast<std::size_t>(y) * kFrameWidth + static_cast<std::size_t>(x)]);
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                EXPECT_EQ(picture.At(2 * x + dx, 50 + 2 * y + dy), source) << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(picture.At(0, 49), 0x12345678u);  // the bars are the caller's to paint
}

}  // namespace
