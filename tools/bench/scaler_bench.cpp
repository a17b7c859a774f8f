// The frame scaled to fill a 1920 x 1080 screen (1440 x 1080 between bars) by each vector path,
// beside the plain path and beside widening the frame alone at its own size, which is what a
// window costs.
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

void FullHdAvx512(benchmark::State& state) { Scale(state, 1920, 1080, ScalerPath::kAvx512); }
void FullHdAvx2(benchmark::State& state) { Scale(state, 1920, 1080, ScalerPath::kAvx2); }
void FullHdPlain(benchmark::State& state) { Scale(state, 1920, 1080, ScalerPath::kPlain); }
void WindowWiden(benchmark::State& state) { Scale(state, kFrameWidth, kFrameHeight, ScalerPath::kBest); }

BENCHMARK(FullHdAvx512)->Unit(benchmark::kMillisecond);
BENCHMARK(FullHdAvx2)->Unit(benchmark::kMillisecond);
BENCHMARK(FullHdPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowWiden)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunAndSummarise(argc, argv,
                                  {{"FullHdAvx512", "FullHdPlain"}, {"FullHdAvx2", "FullHdPlain"},
                                   {"FullHdAvx512", "WindowWiden"}});
}
