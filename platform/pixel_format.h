// The back buffer's 16-bit R5G6B5 pixels and the 32-bit A8R8G8B8 colours of the game.
#pragma once

#include <cstdint>

namespace platform {

// Colour conversion used wherever 32-bit colours meet the 16-bit buffer: narrowing keeps each
// channel's top bits; widening repeats them into the low bits, so black stays 0, white becomes
// 0xFFFFFF and narrowing a widened pixel gives it back.
constexpr std::uint16_t ToR5G6B5(std::uint32_t argb) {
    return static_cast<std::uint16_t>(((argb >> 8) & 0xF800) | ((argb >> 5) & 0x07E0) |
                                      ((argb >> 3) & 0x001F));
}
constexpr std::uint32_t FromR5G6B5(std::uint16_t pixel) {
    const std::uint32_t r = (pixel >> 11) & 31;
    const std::uint32_t g = (pixel >> 5) & 63;
    const std::uint32_t b = pixel & 31;
    return 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
           ((b << 3) | (b >> 2));
}

}  // namespace platform
