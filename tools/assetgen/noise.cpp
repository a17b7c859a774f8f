#include "tools/assetgen/noise.h"

#include <cmath>

#include "tools/assetgen/rng.h"

namespace assetgen {

namespace {

double Lattice(std::int64_t x, std::int64_t y, std::uint64_t seed) {
    const std::uint64_t h = HashMix(seed ^ HashMix(static_cast<std::uint64_t>(x) * 0x9E3779B1ull ^
                                                   HashMix(static_cast<std::uint64_t>(y))));
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

double Lattice3(std::int64_t x, std::int64_t y, std::int64_t z, std::uint64_t seed) {
    const std::uint64_t h =
        HashMix(seed ^ HashMix(static_cast<std::uint64_t>(x) ^
                               HashMix(static_cast<std::uint64_t>(y) ^
                                       HashMix(static_cast<std::uint64_t>(z) + 0x632BE59Bull))));
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

// Quintic smooth step: continuous slope and curvature at the lattice lines, so no creases.
double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

std::int64_t Wrap(std::int64_t value, int period) {
    const std::int64_t r = value % period;
    return r < 0 ? r + period : r;
}

}  // namespace

double PeriodicValueNoise(double x, double y, int period, std::uint64_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx);
    const auto iy = static_cast<std::int64_t>(fy);
    const double tx = Fade(x - fx);
    const double ty = Fade(y - fy);
    const std::int64_t x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
    const std::int64_t y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
    const double a = Lattice(x0, y0, seed), b = Lattice(x1, y0, seed);
    const double c = Lattice(x0, y1, seed), d = Lattice(x1, y1, seed);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double TileableFractalNoise(double u, double v, int basePeriod, int octaves, double gain,
                            std::uint64_t seed) {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    int period = basePeriod;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * PeriodicValueNoise(u * period, v * period, period, seed + octave * 7919u);
        total += amplitude;
        amplitude *= gain;
        period *= 2;
    }
    return sum / total;
}

double FractalNoise3(double x, double y, double z, int octaves, std::uint64_t seed) {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    double frequency = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        const double px = x * frequency, py = y * frequency, pz = z * frequency;
        const double fx = std::floor(px), fy = std::floor(py), fz = std::floor(pz);
        const auto ix = static_cast<std::int64_t>(fx);
        const auto iy = static_cast<std::int64_t>(fy);
        const auto iz = static_cast<std::int64_t>(fz);
        const double tx = Fade(px - fx), ty = Fade(py - fy), tz = Fade(pz - fz);
        const std::uint64_t s = seed + octave * 104729u;
        double corners[2][2][2];
        for (int dz = 0; dz < 2; ++dz) {
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    corners[dz][dy][dx] = Lattice3(ix + dx, iy + dy, iz + dz, s);
                }
            }
        }
        double planes[2];
        for (int dz = 0; dz < 2; ++dz) {
            const double top = corners[dz][0][0] + (corners[dz][0][1] - corners[dz][0][0]) * tx;
            const double bottom = corners[dz][1][0] + (corners[dz][1][1] - corners[dz][1][0]) * tx;
            planes[dz] = top + (bottom - top) * ty;
        }
        sum += amplitude * (planes[0] + (planes[1] - planes[0]) * tz);
        total += amplitude;
        amplitude *= 0.5;
        frequency *= 2.0;
    }
    return sum / total;
}

}  // namespace assetgen
