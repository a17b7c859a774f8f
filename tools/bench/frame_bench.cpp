// Whole frames: the device's own cost (clearing the back and depth buffers and presenting)
// against a plain memset of the same back buffer, and a full world frame of the busiest level
// (stars, tiles, every object in view, fog) against that clear-and-present frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "bench_summary.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/sprites.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/mod_timer.h"
#include "game/shell/replay.h"
#include "game/shell/rnd.h"
#include "game/simulation/world_pass.h"
#include "game/world/background.h"
#include "game/world/level_assets.h"
#include "game/world/level_loader.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/device.h"
#include "platform/window.h"

namespace {

constexpr int kBusiestLevel = 23;

// The game's own start-up, reading the generated program folder.
bool StartGame() {
    static const bool started = [] {
        static char name[] = "corvane";
        char* argv[] = {name, nullptr};
        platform::SetCommandLine(1, argv);
        platform::SetProgramFolder(STARWAKE_PROGRAM_DIR);
        // Measured flat out: start-up sets the pacer from the run options, so they say it.
        shell::runOptions.uncapped = true;
        return shell::StartUp();
    }();
    return started;
}

void ClearAndPresent(benchmark::State& state) {
    if (!StartGame()) {
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

// The busiest level with every object gathered into the view around the ship, held still so
// that every frame draws the same scene; false, with the benchmark skipped, when the game or
// the level cannot start.
bool PrepareBusiestLevel(benchmark::State& state) {
    if (!StartGame()) {
        state.SkipWithError("no game");
        return false;
    }
    // The same scene in every repetition: the generator starts where the game starts it.
    shell::randomState = shell::RandomState{};
    world::ClearWorld();
    shell::counters.level = kBusiestLevel;
    std::string error;
    if (!world::LoadLevel(world::LevelStem(kBusiestLevel), &error)) {
        state.SkipWithError(error.c_str());
        return false;
    }
    world::LoadTiles();
    world::records.shipX = world::records.shipY = 2560;
    world::Ship().Angle = world::Ship().CarAngle = 0.4;
    shell::frameTimer.frameScale = 1.0f;
    for (const world::ObjectHandle& o : world::records.colObjects) {
        o->X = 2560 + 40 + static_cast<std::int32_t>(shell::Rnd() * 720);
        o->Y = 2560 - 150 + static_cast<std::int32_t>(shell::Rnd() * 520);
        o->xSpeed = o->ySpeed = 0;
        o->LastStateChange = o->LastCount = INT64_MAX / 2;  // no new moods, no fire
    }
    return true;
}

void WorldFrame(benchmark::State& state) {
    if (!PrepareBusiestLevel(state)) {
        return;
    }
    std::int32_t& shipX = world::records.shipX;
    std::int32_t& shipY = world::records.shipY;
    for (auto _ : state) {
        graphics::BeginFrame();
        graphics::BeginSprites();
        world::DrawStars(shipX, shipY);
        world::DrawTiles(shipX, shipY);
        graphics::EndSprites();
        simulation::UpdateWorldObjects(shipX, shipY);
        platform::SetRenderState(platform::kRsAlphaBlendEnable, 1);
        graphics::BeginSprites();
        world::DrawFog(shipX, shipY, "AF0000");
        graphics::EndSprites();
        platform::SetRenderState(platform::kRsAlphaBlendEnable, 0);
        graphics::EndFrame();
        platform::DoEvents();
    }
    state.counters["objects"] = static_cast<double>(world::records.colObjects.size());
}
BENCHMARK(WorldFrame)->Unit(benchmark::kMillisecond);

// The layers of WorldFrame one at a time, drawn over whatever the last frame left (a blend
// costs the same whatever lies beneath) and never presented, to show where the frame goes.
void WorldStarsAndTiles(benchmark::State& state) {
    if (!PrepareBusiestLevel(state)) {
        return;
    }
    platform::BeginScene();
    for (auto _ : state) {
        graphics::BeginSprites();
        world::DrawStars(world::records.shipX, world::records.shipY);
        world::DrawTiles(world::records.shipX, world::records.shipY);
        graphics::EndSprites();
    }
    platform::EndScene();
}
BENCHMARK(WorldStarsAndTiles)->Unit(benchmark::kMillisecond);

// The object pass: the objects' sprites, and the meshes over a cleared depth buffer.
void WorldObjects(benchmark::State& state) {
    if (!PrepareBusiestLevel(state)) {
        return;
    }
    platform::BeginScene();
    for (auto _ : state) {
        platform::Clear(platform::kClearZBuffer, 0, 1.0f, 0);
        simulation::UpdateWorldObjects(world::records.shipX, world::records.shipY);
    }
    platform::EndScene();
}
BENCHMARK(WorldObjects)->Unit(benchmark::kMillisecond);

// The object pass over the level's mesh objects alone (asteroids, coins and mines, named by
// their mesh number), through the device's path for triangles inside the clip volume or
// through the general clipping path for every triangle; on a shadow level the coins are drawn
// twice, first as a blended silhouette.
void MeshesOnly(benchmark::State& state, bool reference, int level = kBusiestLevel) {
    if (!PrepareBusiestLevel(state)) {
        return;
    }
    shell::counters.level = static_cast<std::int16_t>(level);
    std::erase_if(world::records.colObjects, [](const world::ObjectHandle& o) {
        return o->name.empty() || o->name.find_first_not_of("0123456789") != std::string::npos;
    });
    platform::device_testing::UseReferenceTriangles(reference);
    platform::BeginScene();
    for (auto _ : state) {
        platform::Clear(platform::kClearZBuffer, 0, 1.0f, 0);
        simulation::UpdateWorldObjects(world::records.shipX, world::records.shipY);
    }
    platform::EndScene();
    platform::device_testing::UseReferenceTriangles(false);
    state.counters["meshes"] = static_cast<double>(world::records.colObjects.size());
    shell::counters.level = kBusiestLevel;
}
void WorldMeshes(benchmark::State& state) { MeshesOnly(state, false); }
BENCHMARK(WorldMeshes)->Unit(benchmark::kMillisecond);
void WorldMeshesClipping(benchmark::State& state) { MeshesOnly(state, true); }
BENCHMARK(WorldMeshesClipping)->Unit(benchmark::kMillisecond);
void WorldMeshesShadowed(benchmark::State& state) { MeshesOnly(state, false, 19); }
BENCHMARK(WorldMeshesShadowed)->Unit(benchmark::kMillisecond);

void WorldFog(benchmark::State& state) {
    if (!PrepareBusiestLevel(state)) {
        return;
    }
    platform::BeginScene();
    for (auto _ : state) {
        platform::SetRenderState(platform::kRsAlphaBlendEnable, 1);
        graphics::BeginSprites();
        world::DrawFog(world::records.shipX, world::records.shipY, "AF0000");
        graphics::EndSprites();
        platform::SetRenderState(platform::kRsAlphaBlendEnable, 0);
    }
    platform::EndScene();
}
BENCHMARK(WorldFog)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunAndSummarise(argc, argv,
                                  {{"ClearAndPresent", "MemsetBackBuffer"},
                                   {"WorldFrame", "ClearAndPresent"},
                                   {"WorldMeshes", "WorldMeshesClipping"},
                                   {"WorldMeshesShadowed", "WorldMeshes"}});
}
