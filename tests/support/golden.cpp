#include "tests/support/golden.h"

#include <cstdlib>
#include <filesystem>

#include "common/png.h"
#include "platform/device.h"

namespace test_support {

common::Image FrameToImage(std::span<const std::uint16_t> frame, int width, int height) {
    common::Image image(width, height);
    for (std::size_t i = 0; i < image.pixels.size() && i < frame.size(); ++i) {
        image.pixels[i] = platform::FromR5G6B5(frame[i]);
    }
    return image;
}

::testing::AssertionResult MatchesGolden(const common::Image& image, const std::string& name) {
    const std::filesystem::path golden =
        std::filesystem::path(STARWAKE_SOURCE_DIR) / "tests" / "golden" / (name + ".png");
    const char* update = std::getenv("STARWAKE_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::string error;
        if (!common::SavePng(golden, image, true, &error)) {
            return ::testing::AssertionFailure() << "cannot write golden: " << error;
        }
        return ::testing::AssertionSuccess() << "golden written: " << golden;
    }
    std::string error;
    const auto expected = common::LoadPngFile(golden, &error);
    const std::filesystem::path outDir = std::filesystem::path(STARWAKE_BINARY_DIR) / "golden-diff";
    std::filesystem::create_directories(outDir);
    const std::filesystem::path actualPath = outDir / (name + ".actual.png");
    if (!expected) {
        common::SavePng(actualPath, image, true, nullptr);
        return ::testing::AssertionFailure()
               << "no golden image " << golden << " (" << error << "); actual frame written to "
               << actualPath;
    }
    if (expected->width != image.width || expected->height != image.height) {
        common::SavePng(actualPath, image, true, nullptr);
        return ::testing::AssertionFailure() << "size differs from " << golden << ": expected "
                                             << expected->width << "x" << expected->height
                                             << ", got " << image.width << "x" << image.height
                                             << "; actual written to " << actualPath;
    }
    common::Image diff(image.width, image.height, 0xFF000000u);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        if (image.pixels[i] != expected->pixels[i]) {
            ++differing;
            diff.pixels[i] = 0xFFFF00FFu;
        } else {
            // Keep a dim copy of the picture so the differences can be located.
            const std::uint32_t p = image.pixels[i];
            diff.pixels[i] = 0xFF000000u | ((p >> 2) & 0x3F3F3F);
        }
    }
    if (differing == 0) {
        return ::testing::AssertionSuccess();
    }
    const std::filesystem::path diffPath = outDir / (name + ".diff.png");
    common::SavePng(actualPath, image, true, nullptr);
    common::SavePng(diffPath, diff, false, nullptr);
    return ::testing::AssertionFailure() << differing << " pixels differ from " << golden
                                         << "; actual: " << actualPath << ", difference: " << diffPath;
}

}  // namespace test_support
