#include "game/shell/rnd.h"

#include <bit>
#include <cstring>

namespace shell {

RandomState randomState;

float Rnd() {
    // A 24-bit linear congruential step; the state over 2^24 is the number.
    randomState.seed = (randomState.seed * 0x43FD43FDu + 0x00C39EC3u) & 0x00FFFFFFu;
    return static_cast<float>(randomState.seed) / 16777216.0f;
}

void Randomize(double seedValue) {
    // Fold the bits of the double into the middle of the state, as a seed from a timer value.
    std::uint64_t bits = std::bit_cast<std::uint64_t>(seedValue);
    std::uint32_t folded = static_cast<std::uint32_t>(bits >> 32) ^ static_cast<std::uint32_t>(bits);
    folded ^= folded >> 16;
    randomState.seed = (randomState.seed & 0xFF0000FFu) | ((folded & 0xFFFFu) << 8);
    randomState.seed &= 0x00FFFFFFu;
}

}  // namespace shell
