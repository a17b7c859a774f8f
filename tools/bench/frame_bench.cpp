// The device's own cost per frame: clearing the back and depth buffers and presenting, against
// a plain memset of the same back buffer.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "bench_summary.h"
#include "platform/device.h"
#include "platform/frame_pacer.h"
#include "platform/window.h"

namespace {

bool StartDevice() {
    static const bool started = [] {
        platform::framePacer.capped = false;  // measured flat out
        if (!platform::CreateMainWindow("Starwake bench")) {
            return false;
        }
        platform::PresentParams p;
        p.backBufferWidth = 800;
        p.backBufferHeight = 600;
        p.backBufferFormat = platform::kFormatR5G6B5;
        p.backBufferCount = 2;
        p.swapEffect = 2;
        p.enableAutoDepthStencil = true;
        p.autoDepthStencilFormat = platform::kFormatD16;
        return platform::CreateDevice(p) == platform::kOk;
    }();
    return started;
}

void ClearAndPresent(benchmark::State& state) {
    if (!StartDevice()) {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state) {
        platform::Clear(platform::kClearTarget | platform::kClearZBuffer, 0, 1.0f, 0);
        platform::BeginScene();
        platform::EndScene();
        platform::Present();
        platform::DoEvents();
    }
}
BENCHMARK(ClearAndPresent)->Unit(benchmark::kMillisecond);

void MemsetBackBuffer(benchmark::State& state) {
    std::vector<std::uint16_t> buffer(800 * 600);
    for (auto _ : state) {
        std::memset(buffer.data(), 0, buffer.size() * sizeof(std::uint16_t));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(MemsetBackBuffer)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunAndSummarise(argc, argv, {{"ClearAndPresent", "MemsetBackBuffer"}});
}
