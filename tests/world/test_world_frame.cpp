#include <gtest/gtest.h>

#include "game/graphics/dxgfx.h"
#include "game/graphics/sprites.h"
#include "game/shell/game_counters.h"
#include "game/shell/mod_timer.h"
#include "game/shell/rnd.h"
#include "game/simulation/world_pass.h"
#include "game/world/background.h"
#include "game/world/level_assets.h"
#include "game/world/level_loader.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "tests/support/golden.h"
#include "tests/support/headless.h"

namespace {

// One frame of a level as the game loop draws it: stars and tiles, the objects, and the fog
// where the level has one, for a fixed ship position and heading.
common::Image DrawLevelFrame(int level, std::int32_t shipX, std::int32_t shipY, double heading,
                             std::string_view fog) {
    EXPECT_TRUE(test_support::StartHeadlessGame());
    platform::FakeClock clock(100000);
    // The same frame whichever test ran before: the common mesh spin and the generator start
    // where a fresh game has them.
    simulation::worldPass = simulation::WorldPassState{};
    shell::randomState = shell::RandomState{};
    world::ClearWorld();
    shell::counters.level = static_cast<std::int16_t>(level);
    std::string error;
    EXPECT_TRUE(world::LoadLevel(world::LevelStem(level), &error)) << error;
    world::LoadTiles();
    world::records.shipX = shipX;
    world::records.shipY = shipY;
    world::Ship().Angle = world::Ship().CarAngle = heading;
    shell::frameTimer.frameScale = 1.0f;
    graphics::sprites.spriteScaleX = graphics::sprites.spriteScaleY = 0.75f;

    graphics::BeginFrame();
    graphics::BeginSprites();
    world::DrawStars(shipX, shipY);
    world::DrawTiles(shipX, shipY);
    graphics::EndSprites();
    simulation::UpdateWorldObjects(world::records.shipX, world::records.shipY);
    if (!fog.empty()) {
        platform::SetRenderState(platform::kRsAlphaBlendEnable, 1);
        graphics::BeginSprites();
        world::DrawFog(shipX, shipY, fog);
        graphics::EndSprites();
        platform::SetRenderState(platform::kRsAlphaBlendEnable, 0);
    }
    graphics::EndFrame();
    return test_support::FrameToImage(platform::device.lastPresented, platform::kScreenWidth,
                                      platform::kScreenHeight);
}

TEST(WorldFrame, LevelOneBesideANebulaTurnedALittle) {
    EXPECT_TRUE(test_support::MatchesGolden(DrawLevelFrame(1, 1700, 2200, 0.3, ""), "world_level1"));
}

TEST(WorldFrame, RedFogLevelNearTheWorldsCorner) {
    // Near the corner the far edges of the map show beside the near ones.
    EXPECT_TRUE(test_support::MatchesGolden(DrawLevelFrame(8, 4450, 4800, 0.3, "AF0000"), "world_level8_fog"));
}

}  // namespace
