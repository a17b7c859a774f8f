// Golden images: a frame compared pixel for pixel with a checked-in PNG under tests/golden.
// A mismatch writes the actual frame and a difference image into the build folder and names
// them; STARWAKE_UPDATE_GOLDEN=1 writes the goldens anew (look at them before committing).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <gtest/gtest.h>

#include "common/image.h"

namespace test_support {

// The device's last presented frame (R5G6B5) as an opaque 32-bit image.
common::Image FrameToImage(std::span<const std::uint16_t> frame, int width, int height);

// Passes when image equals tests/golden/<name>.png exactly.
::testing::AssertionResult MatchesGolden(const common::Image& image, const std::string& name);

}  // namespace test_support
