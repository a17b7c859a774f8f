#include "tools/assetgen/rng.h"

namespace assetgen {

std::uint64_t HashMix(std::uint64_t value) {
    // The SplitMix64 finaliser: every input bit reaches every output bit.
    value ^= value >> 30;
    value *= 0xBF58476D1CE4E5B9ull;
    value ^= value >> 27;
    value *= 0x94D049BB133111EBull;
    value ^= value >> 31;
    return value;
}

std::uint64_t Rng::Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    return HashMix(state_);
}

double Rng::Uniform() {
    // The top 53 bits make an exact double in [0, 1).
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

int Rng::Below(int count) {
    if (count <= 1) {
        return 0;
    }
    return static_cast<int>(Uniform() * count);
}

Rng Rng::Fork(std::string_view name) const {
    // FNV-1a over the name, mixed with this stream's seed position.
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ull;
    }
    return Rng(HashMix(state_ ^ hash));
}

Rng AssetRng(std::string_view name) { return Rng(kMasterSeed).Fork(name); }

}  // namespace assetgen
