// The game's one source of chance: a uniform generator in [0, 1) that every random choice
// reads (star placement, enemy moods, debris drift, particles). Replays replace nothing here:
// the generator is deterministic, and its seeds come from the clock service.
#pragma once

#include <cstdint>

namespace shell {

struct RandomState {
    std::uint32_t seed = 0x50000;  // 24-bit state of the generator
};
extern RandomState randomState;

// The next number, uniform in [0, 1), with 24 bits of resolution.
float Rnd();

// Reseeds from a number (the particle engine seeds from the clock before each particle).
void Randomize(double seedValue);

}  // namespace shell
