// A plain 32-bit picture in memory: what the bitmap and PNG readers give and the writers take.
#pragma once

#include <cstdint>
#include <vector>

namespace common {

struct Image {
    int width = 0;                       // pixels
    int height = 0;                      // pixels
    std::vector<std::uint32_t> pixels;   // 0xAARRGGBB, rows top to bottom, width * height

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool Empty() const { return width <= 0 || height <= 0; }
};

// Pack 8-bit channels into 0xAARRGGBB.
constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace common
