#include "tests/support/hearing.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "common/file_io.h"
#include "common/sound_levels.h"
#include "game/audio/sound.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "tests/support/headless.h"

namespace test_support {

namespace {
constexpr int kRate = 44100;
constexpr std::uintmax_t kBytesPerSecond = kRate * 4;

// The file of the Hearing that is open, and how far into its output the last wait reached.
// Waits count the output's own time: on a loaded machine the driver's thread may fall behind
// the real clock, and a wait by the clock would then put a test's sounds closer together in
// the output than the test asked for.
std::filesystem::path listeningTo;
std::uintmax_t waitedUntil = 0;

std::uintmax_t BytesHeard() {
    std::error_code code;
    const std::uintmax_t size = std::filesystem::file_size(listeningTo, code);
    return code ? 0 : size;
}
}  // namespace

double HeardOutput::Seconds() const { return static_cast<double>(samples.size() / 2) / kRate; }

std::span<const std::int16_t> HeardOutput::Between(double from, double to) const {
    const auto at = [&](double seconds) {
        return std::min(samples.size(), 2 * static_cast<std::size_t>(std::max(0.0, seconds) * kRate));
    };
    const std::size_t first = at(from);
    return std::span<const std::int16_t>(samples).subspan(first, std::max(first, at(to)) - first);
}

double HeardOutput::Rms(double from, double to) const { return common::RmsLevel(Between(from, to)); }

double HeardOutput::Peak(double from, double to) const { return common::PeakLevel(Between(from, to)); }

std::vector<HeardOutput::Stretch> HeardOutput::Sounds(double level) const {
    const int threshold = static_cast<int>(level * 32768.0);
    constexpr std::size_t kJoin = kRate / 50;
    std::vector<Stretch> stretches;
    std::size_t start = 0, lastLoud = 0;
    bool open = false;
    for (std::size_t frame = 0; frame < samples.size() / 2; ++frame) {
        const bool loud = std::abs(samples[2 * frame]) > threshold || std::abs(samples[2 * frame + 1]) > threshold;
        if (!loud) continue;
        if (open && frame - lastLoud > kJoin) {
            stretches.push_back({static_cast<double>(start) / kRate, static_cast<double>(lastLoud + 1) / kRate});
            open = false;
        }
        if (!open) {
            start = frame;
            open = true;
        }
        lastLoud = frame;
    }
    if (open) {
        stretches.push_back({static_cast<double>(start) / kRate, static_cast<double>(lastLoud + 1) / kRate});
    }
    return stretches;
}

Hearing::Hearing(const std::string& name) {
    StartHeadlessGame();
    file_ = std::filesystem::path(STARWAKE_BINARY_DIR) / "hearing" / (name + "-" + std::to_string(::getpid()) + ".raw");
    std::error_code code;
    std::filesystem::create_directories(file_.parent_path(), code);
    audio::ReleaseSound();
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    audio::InitSound();
    listeningTo = file_;
    waitedUntil = 0;
}

Hearing::~Hearing() {
    if (!finished_) {
        Finish();
    }
}

void Hearing::Wait(double seconds) {
    const platform::Tick start = platform::RealTickCount();
    const auto realEnd = start + static_cast<platform::Tick>(seconds * 1000.0);
    if (listeningTo.empty()) {
        while (platform::RealTickCount() < realEnd) {
            platform::DoEvents();
            platform::SleepMilliseconds(2.0);
        }
        return;
    }
    // Until the output has grown by the time asked for (from where the last wait ended, or from
    // now if the test has worked past it); a driver that stops writing ends it by the clock.
    waitedUntil = std::max(waitedUntil, BytesHeard()) + static_cast<std::uintmax_t>(seconds * kBytesPerSecond) / 4 * 4;
    const auto giveUp = start + static_cast<platform::Tick>(seconds * 4000.0) + 1000;
    while (BytesHeard() < waitedUntil && platform::RealTickCount() < giveUp) {
        platform::DoEvents();
        platform::SleepMilliseconds(1.0);
    }
}

double Hearing::SecondsHeard() { return static_cast<double>(BytesHeard()) / kBytesPerSecond; }

HeardOutput Hearing::Finish() {
    finished_ = true;
    listeningTo.clear();
    // Closing the device writes out the last of the output.
    audio::ReleaseSound();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    HeardOutput heard;
    std::string error;
    if (const auto bytes = common::ReadFileBytes(file_, 1u << 30, &error)) {
        heard.samples.resize(bytes->size() / 2);
        std::memcpy(heard.samples.data(), bytes->data(), heard.samples.size() * 2);
    }
    std::error_code code;
    std::filesystem::remove(file_, code);
    audio::InitSound();
    return heard;
}

}  // namespace test_support
