// Smooth value noise that tiles: a lattice of random values repeating every `period` cells,
// blended with a smooth step, summed over octaves (fractal noise). Used for rock, nebula, fog
// and metal textures, which must join without seams at their edges.
#pragma once

#include <cstdint>

namespace assetgen {

// Value noise in [0, 1] at (x, y) in lattice cells; repeats every period cells on both axes.
double PeriodicValueNoise(double x, double y, int period, std::uint64_t seed);

// Fractal sum of octaves at (u, v) in [0, 1): repeats with period 1 on both axes. The first
// octave has basePeriod cells across; each next one twice as many at gain times the amplitude.
// The result is normalised to [0, 1].
double TileableFractalNoise(double u, double v, int basePeriod, int octaves, double gain,
                            std::uint64_t seed);

// The same on a 3-D point (not tiling), for mesh surfaces: fractal value noise in [0, 1].
double FractalNoise3(double x, double y, double z, int octaves, std::uint64_t seed);

}  // namespace assetgen
