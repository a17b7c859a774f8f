// Number conversions as the game makes them: halves go to the even neighbour, and a value
// that no integer can hold (NaN, infinity, out of range) never reaches a float-to-int cast.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace common {

// Round halves to the even neighbour, as every stored position does (2.5 -> 2, 3.5 -> 4).
inline double RoundHalfEven(double value) {
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        rounded = 2.0 * std::round(value * 0.5);
    }
    return rounded;
}

// Rounds half to even and clamps into T's range; NaN becomes 0.
template <typename T>
constexpr T ClampRound(double value) {
    static_assert(std::numeric_limits<T>::is_integer);
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = RoundHalfEven(value);
    if (rounded <= static_cast<double>(std::numeric_limits<T>::min())) {
        return std::numeric_limits<T>::min();
    }
    if (rounded >= static_cast<double>(std::numeric_limits<T>::max())) {
        return std::numeric_limits<T>::max();
    }
    return static_cast<T>(rounded);
}

// The game's "round to a 32-bit integer" (Long) and "to a 16-bit integer" (Integer).
inline std::int32_t RoundToLong(double value) { return ClampRound<std::int32_t>(value); }
inline std::int16_t RoundToInteger(double value) { return ClampRound<std::int16_t>(value); }

// True when value rounds to an integer that T can hold (what a checked conversion accepts).
template <typename T>
bool FitsAfterRounding(double value) {
    if (!std::isfinite(value)) {
        return false;
    }
    const double rounded = RoundHalfEven(value);
    return rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
           rounded <= static_cast<double>(std::numeric_limits<T>::max());
}

}  // namespace common
