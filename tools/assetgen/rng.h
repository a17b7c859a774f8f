// The generator's only source of chance: a small seeded generator (SplitMix64), so every run
// makes the same bytes. Each picture, sound and level forks its own stream from a name, so
// adding one asset never changes another.
#pragma once

#include <cstdint>
#include <string_view>

namespace assetgen {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Uniform in [low, high).
    double Range(double low, double high) { return low + (high - low) * Uniform(); }
    // Uniform whole number in [0, count).
    int Below(int count);
    bool Chance(double probability) { return Uniform() < probability; }
    // A new stream named by text, independent of how much of this one was used.
    Rng Fork(std::string_view name) const;

private:
    std::uint64_t state_;  // advanced by a fixed odd step per number
};

// The seed every asset derives from.
inline constexpr std::uint64_t kMasterSeed = 0x5354415257414B45ull;  // "STARWAKE"

// A stream for one named asset.
Rng AssetRng(std::string_view name);

// A well-mixed hash of integers, for noise lattices.
std::uint64_t HashMix(std::uint64_t value);

}  // namespace assetgen
