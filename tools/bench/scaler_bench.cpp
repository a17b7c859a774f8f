// The frame scaled to fill a 1920 x 1080 screen (1440 x 1080 between bars) by each vector path,
// beside the plain path and beside widening the frame alone at its own size, which is what a
// window costs. A window's own surface keeps the last frame, so a playing frame rescales only
// what changed: the typical change is twenty bands of ten rows and 240 columns (stars, ship,
// shots and rocks), about a ninth of the picture, as the level 1 flight changes it.
#include <random>
#include <vector>

#include "tools/bench/bench_summary.h"
#include "platform/frame_scaler.h"

namespace {

using namespace platform;

std::vector<std::uint16_t> Frame() {
    std::mt19937 random(3);
    std::vector<std::uint16_t> frame(static_cast<std::size_t>(kFrameWidth) * kFrameHeight);
    for (auto& pixel : frame) {
        pixel = static_cast<std::uint16_t>(random());
    }
    return frame;
}

std::vector<std::uint16_t> TypicallyChanged(std::vector<std::uint16_t> frame) {
    for (int band = 0; band < 20; ++band) {
        const int top = band * 30, left = (band * 170) % (kFrameWidth - 240);
        for (int y = top; y < top + 10; ++y) {
            for (int x = left; x < left + 240; ++x) {
                frame[static_cast<std::size_t>(y) * kFrameWidth + static_cast<std::size_t>(x)] ^= 0x5555;
            }
        }
    }
    return frame;
}

void Scale(benchmark::State& state, int width, int height, ScalerPath path) {
    const std::vector<std::uint16_t> frame = Frame();
    std::vector<std::uint32_t> screen(static_cast<std::size_t>(width) * height);
    FrameScaler scaler;
    PrepareScaler(scaler, width, height);
    for (auto _ : state) {
        ScaleFrame(scaler, frame, reinterpret_cast<char*>(screen.data()), width * 4, path);
        benchmark::DoNotOptimize(screen.data());
    }
}

// Two frames in turn, each the other typically changed.
void ScaleChanges(benchmark::State& state, int width, int height) {
    const std::vector<std::uint16_t> frames[2] = {Frame(), TypicallyChanged(Frame())};
    std::vector<std::uint32_t> screen(static_cast<std::size_t>(width) * height);
    FrameScaler scaler;
    PrepareScaler(scaler, width, height);
    ScaleChangedFrame(scaler, frames[1], reinterpret_cast<char*>(screen.data()), width * 4);
    int next = 0;
    for (auto _ : state) {
        ScaleChangedFrame(scaler, frames[next], reinterpret_cast<char*>(screen.data()), width * 4);
        benchmark::DoNotOptimize(screen.data());
        next ^= 1;
    }
}

void FullHdAvx512(benchmark::State& state) { Scale(state, 1920, 1080, ScalerPath::kAvx512); }
void FullHdAvx2(benchmark::State& state) { Scale(state, 1920, 1080, ScalerPath::kAvx2); }
void FullHdPlain(benchmark::State& state) { Scale(state, 1920, 1080, ScalerPath::kPlain); }
void FullHdTypicalChange(benchmark::State& state) { ScaleChanges(state, 1920, 1080); }
void WindowWiden(benchmark::State& state) { Scale(state, kFrameWidth, kFrameHeight, ScalerPath::kBest); }
void WindowTypicalChange(benchmark::State& state) { ScaleChanges(state, kFrameWidth, kFrameHeight); }

BENCHMARK(FullHdAvx512)->Unit(benchmark::kMillisecond);
BENCHMARK(FullHdAvx2)->Unit(benchmark::kMillisecond);
BENCHMARK(FullHdPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(FullHdTypicalChange)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowWiden)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowTypicalChange)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunAndSummarise(argc, argv,
                                  {{"FullHdAvx512", "FullHdPlain", true},
                                   {"FullHdAvx2", "FullHdPlain", true},
                                   {"FullHdTypicalChange", "FullHdAvx512", true},
                                   {"FullHdAvx512", "WindowWiden", true},
                                   {"FullHdTypicalChange", "WindowTypicalChange", true},
                                   {"WindowTypicalChange", "WindowWiden", true}});
}
