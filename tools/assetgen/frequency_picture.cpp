#include "tools/assetgen/frequency_picture.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "common/sound_levels.h"
#include "platform/sound_files.h"

namespace assetgen {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kLowestHz = 30.0;
constexpr double kHighestHz = 20000.0;
constexpr float kFloorDb = -96.0f;

// In-place radix-2 transform; the size is a power of two.
void Fft(std::vector<std::complex<float>>& data) {
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(data[i], data[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * kPi / static_cast<double>(length);
        const std::complex<float> step(static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<float> w(1.0f, 0.0f);
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<float> even = data[start + k];
                const std::complex<float> odd = data[start + k + length / 2] * w;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
}

// Black through blue, purple, red and orange to white, from the floor to 0 dB.
std::uint32_t HeatColour(float decibels) {
    const float t = std::clamp((decibels - kFloorDb) / -kFloorDb, 0.0f, 1.0f);
    struct Stop { float at, r, g, b; };
    constexpr Stop kStops[] = {{0.0f, 0, 0, 0},        {0.3f, 20, 20, 110},   {0.5f, 120, 30, 150},
                               {0.7f, 220, 50, 60},    {0.85f, 250, 160, 30}, {1.0f, 255, 255, 240}};
    for (std::size_t i = 1; i < std::size(kStops); ++i) {
        if (t <= kStops[i].at) {
            const Stop& a = kStops[i - 1];
            const Stop& b = kStops[i];
            const float u = (t - a.at) / (b.at - a.at);
            const auto channel = [&](float x, float y) { return static_cast<std::uint32_t>(x + (y - x) * u); };
            return common::Argb(255, channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b));
        }
    }
    return 0xFFFFFFF0u;
}

}  // namespace

std::vector<float> SpectrumDecibels(std::span<const std::int16_t> stereo, std::size_t centreFrame) {
    const std::size_t frames = stereo.size() / 2;
    std::vector<std::complex<float>> data(kSpectrumSize);
    for (int i = 0; i < kSpectrumSize; ++i) {
        const std::ptrdiff_t frame = static_cast<std::ptrdiff_t>(centreFrame) - kSpectrumSize / 2 + i;
        if (frame < 0 || static_cast<std::size_t>(frame) >= frames) continue;
        const float mono = (stereo[2 * static_cast<std::size_t>(frame)] + stereo[2 * static_cast<std::size_t>(frame) + 1]) /
                           65536.0f;
        const float hann = 0.5f - 0.5f * static_cast<float>(std::cos(2.0 * kPi * i / kSpectrumSize));
        data[static_cast<std::size_t>(i)] = mono * hann;
    }
    Fft(data);
    std::vector<float> decibels(kSpectrumSize / 2 + 1);
    // A full-scale sine gives a magnitude of a quarter of the window under the Hann window.
    constexpr float kFullScale = kSpectrumSize / 4.0f;
    for (std::size_t bin = 0; bin < decibels.size(); ++bin) {
        const float magnitude = std::abs(data[bin]) / kFullScale;
        decibels[bin] = magnitude > 1e-6f ? 20.0f * std::log10(magnitude) : -120.0f;
    }
    return decibels;
}

common::Image Spectrogram(std::span<const std::int16_t> stereo, int width, int height) {
    common::Image image(width, height, 0xFF000000u);
    const std::size_t frames = stereo.size() / 2;
    const double binHz = static_cast<double>(platform::kOutputRate) / kSpectrumSize;
    // The bins each row covers, top row highest.
    std::vector<std::pair<std::size_t, std::size_t>> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto hzAt = [&](double row) { return kHighestHz * std::pow(kLowestHz / kHighestHz, row / height); };
        const auto low = static_cast<std::size_t>(std::lround(hzAt(y + 1.0) / binHz));
        const auto high = static_cast<std::size_t>(std::lround(hzAt(y) / binHz));
        rows[static_cast<std::size_t>(y)] = {low, std::max(low, high)};
    }
    for (int x = 0; x < width && frames > 0; ++x) {
        const std::size_t centre = (static_cast<std::size_t>(x) * 2 + 1) * frames / (2 * static_cast<std::size_t>(width));
        const std::vector<float> spectrum = SpectrumDecibels(stereo, centre);
        for (int y = 0; y < height; ++y) {
            const auto [low, high] = rows[static_cast<std::size_t>(y)];
            float level = kFloorDb;
            for (std::size_t bin = low; bin <= high && bin < spectrum.size(); ++bin) level = std::max(level, spectrum[bin]);
            image.At(x, y) = HeatColour(level);
        }
    }
    // Faint lines at 100 Hz, 1 kHz and 10 kHz.
    for (double hz : {100.0, 1000.0, 10000.0}) {
        const int y = static_cast<int>(std::lround(height * std::log(hz / kHighestHz) / std::log(kLowestHz / kHighestHz)));
        for (int x = 0; x < width && y >= 0 && y < height; x += 2) {
            image.At(x, y) = 0xFF606060u;
        }
    }
    return image;
}

Loudness MeasureLoudness(std::span<const std::int16_t> stereo) {
    Loudness loudness;
    loudness.seconds = static_cast<double>(stereo.size() / 2) / platform::kOutputRate;
    loudness.peakDb = common::Decibels(common::PeakLevel(stereo));
    loudness.rmsDb = common::Decibels(common::RmsLevel(stereo));
    loudness.dcOffset = common::MeanLevel(stereo);
    // 400 ms windows, a quarter apart.
    const std::size_t window = static_cast<std::size_t>(platform::kOutputRate) * 2 * 4 / 10;
    const std::size_t hop = window / 4;
    double loudest = common::RmsLevel(stereo.first(std::min(window, stereo.size())));
    for (std::size_t at = hop; at + window <= stereo.size(); at += hop) {
        loudest = std::max(loudest, common::RmsLevel(stereo.subspan(at, window)));
    }
    loudness.loudestDb = common::Decibels(loudest);
    return loudness;
}

}  // namespace assetgen
