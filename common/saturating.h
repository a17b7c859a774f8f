// Sums of the game's 32-bit counters (score, money, health, hit points) that stop at the
// 32-bit limits instead of wrapping: a level file may give an object hit points or a value far
// beyond anything play reaches, and a boss rammed twice must not turn the score negative.
#pragma once

#include <cstdint>
#include <limits>

namespace common {

constexpr std::int32_t SaturateToLong(std::int64_t value) {
    constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < kLow ? kLow : value > kHigh ? kHigh : value);
}

// a + b and a - b, held at the 32-bit limits (in 64 bits, so even minus the lowest value holds).
constexpr std::int32_t SaturatingAdd(std::int32_t a, std::int32_t b) {
    return SaturateToLong(std::int64_t{a} + b);
}
constexpr std::int32_t SaturatingSubtract(std::int32_t a, std::int32_t b) {
    return SaturateToLong(std::int64_t{a} - b);
}

}  // namespace common
