#include "common/sound_levels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace common {

namespace {
constexpr double kFullScale = 32768.0;
}

double RmsLevel(std::span<const std::int16_t> samples) {
    if (samples.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::int16_t s : samples) {
        sum += static_cast<double>(s) * s;
    }
    return std::sqrt(sum / static_cast<double>(samples.size())) / kFullScale;
}

double PeakLevel(std::span<const std::int16_t> samples) {
    int peak = 0;
    for (std::int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak / kFullScale;
}

double MeanLevel(std::span<const std::int16_t> samples) {
    if (samples.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::int16_t s : samples) {
        sum += s;
    }
    return sum / static_cast<double>(samples.size()) / kFullScale;
}

double Decibels(double level) { return level > 1e-10 ? 20.0 * std::log10(level) : -200.0; }

}  // namespace common
