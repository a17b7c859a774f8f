// Test pictures: small, asymmetric, with exact colours, so a turn, a mirror or a wrong texel
// shows at once.
#pragma once

#include <cstdint>

#include "common/image.h"

namespace graphics_test {

inline constexpr std::uint32_t kKeyMagenta = 0xFFFF00FFu;

inline void FillRect(common::Image& image, int x0, int y0, int x1, int y1, std::uint32_t colour) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            image.At(x, y) = colour;
        }
    }
}

// A 64 x 64 "F" on magenta: white stem on the left, red top bar, green middle bar, and a blue
// square at the bottom right.
inline common::Image LetterF() {
    common::Image image(64, 64, kKeyMagenta);
    FillRect(image, 8, 8, 20, 56, 0xFFFFFFFFu);
    FillRect(image, 8, 8, 56, 20, 0xFFFF0000u);
    FillRect(image, 8, 28, 40, 38, 0xFF00FF00u);
    FillRect(image, 44, 44, 56, 56, 0xFF0000FFu);
    return image;
}

// A 16 x 16 checkerboard of 4-texel squares in two colours, with a yellow top-left texel.
inline common::Image Checker(std::uint32_t a, std::uint32_t b) {
    common::Image image(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.At(x, y) = ((x / 4 + y / 4) % 2 == 0) ? a : b;
        }
    }
    image.At(0, 0) = 0xFFFFFF00u;
    return image;
}

}  // namespace graphics_test
