// Sound inside the frame: LoadSound of "Explode.wav", which the game calls at every explosion
// and reads from disk each time, against reading the file and decoding it alone; the timer's
// restart of a tune against reading it. Then the delay from LoadSound to the effect's first
// samples in the mixed output, seen by a tap on the output as the mixer hands it to the device.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "bench_summary.h"
#include "common/file_io.h"
#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "platform/app.h"
#include "platform/sound.h"
#include "platform/sound_files.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::filesystem::path kExplosion = std::filesystem::path(STARWAKE_PROGRAM_DIR) / "sounds" / "Explode.wav";
const std::filesystem::path kTune = std::filesystem::path(STARWAKE_PROGRAM_DIR) / "Music" / "002.ogg";

bool OpenSound() {
    static const bool open = [] {
        platform::SetProgramFolder(STARWAKE_PROGRAM_DIR);
        return audio::InitSound();
    }();
    return open;
}

void LoadSoundExplode(benchmark::State& state) {
    if (!OpenSound()) {
        state.SkipWithError("no sound device");
        return;
    }
    const std::string file = kExplosion.string();
    for (auto _ : state) {
        audio::LoadSound(file, 0, false, audio::kExplosionSlot, false);
    }
    platform::EmptySoundSlot(audio::kExplosionSlot);
}
BENCHMARK(LoadSoundExplode)->Unit(benchmark::kMicrosecond);

void ReadExplodeFile(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(common::ReadFileBytes(kExplosion, platform::kMaxEffectFileBytes, nullptr));
    }
}
BENCHMARK(ReadExplodeFile)->Unit(benchmark::kMicrosecond);

void DecodeExplode(benchmark::State& state) {
    const auto bytes = common::ReadFileBytes(kExplosion, platform::kMaxEffectFileBytes, nullptr).value_or(std::vector<std::uint8_t>{});
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::DecodeEffect(bytes, nullptr));
    }
}
BENCHMARK(DecodeExplode)->Unit(benchmark::kMicrosecond);

void RestartTune(benchmark::State& state) {
    if (!OpenSound()) {
        state.SkipWithError("no sound device");
        return;
    }
    const std::string file = kTune.string();
    for (auto _ : state) {
        audio::PlayOggFile(file);
    }
    audio::StopOgg();
}
BENCHMARK(RestartTune)->Unit(benchmark::kMicrosecond);

void ReadTuneFile(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(common::ReadFileBytes(kTune, platform::kMaxMusicFileBytes, nullptr));
    }
}
BENCHMARK(ReadTuneFile)->Unit(benchmark::kMicrosecond);

// Milliseconds from LoadSound to the first block of output holding the explosion, over trials
// started at scattered moments of the mixer's cycle.
void MeasureLatency() {
    if (!OpenSound()) {
        std::printf("Sound latency: no sound device\n");
        return;
    }
    std::atomic<bool> armed{false};
    std::atomic<Clock::rep> heardAt{0};
    platform::sound_testing::SetOutputTap([&](std::span<const std::int16_t> block) {
        if (armed.load() && std::any_of(block.begin(), block.end(), [](std::int16_t s) { return s != 0; })) {
            heardAt.store(Clock::now().time_since_epoch().count());
            armed.store(false);
        }
    });
    const std::string file = kExplosion.string();
    std::vector<double> delays;
    for (int trial = 0; trial < 40; ++trial) {
        platform::EmptySoundSlot(audio::kExplosionSlot);
        std::this_thread::sleep_for(std::chrono::microseconds(30000 + (trial * 7919) % 12000));
        heardAt.store(0);
        armed.store(true);
        const Clock::time_point start = Clock::now();
        audio::LoadSound(file, 0, false, audio::kExplosionSlot, false);
        while (heardAt.load() == 0 && Clock::now() - start < std::chrono::seconds(1)) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (heardAt.load() != 0) {
            delays.push_back(std::chrono::duration<double, std::milli>(Clock::duration(heardAt.load()) -
                                                                       start.time_since_epoch())
                                 .count());
        }
    }
    platform::sound_testing::SetOutputTap({});
    platform::EmptySoundSlot(audio::kExplosionSlot);
    if (delays.empty()) {
        std::printf("Sound latency: the effect never reached the output\n");
        return;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("Sound latency LoadSound to output (%s driver): median %.1f ms, max %.1f ms over %zu trials; "
                "mixer buffer %d frames = %.1f ms, a device adds its own queue\n",
                platform::soundOutput.driver.c_str(), delays[delays.size() / 2], delays.back(), delays.size(),
                platform::kOutputBufferFrames, 1000.0 * platform::kOutputBufferFrames / platform::kOutputRate);
}

}  // namespace

int main(int argc, char** argv) {
    MeasureLatency();
    return bench::RunAndSummarise(argc, argv,
                                  {{"LoadSoundExplode", "ReadExplodeFile", true},
                                   {"DecodeExplode", "ReadExplodeFile", true},
                                   {"RestartTune", "ReadTuneFile", true}});
}
