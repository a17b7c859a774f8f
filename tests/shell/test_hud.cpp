#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "game/graphics/dxgfx.h"
#include "game/graphics/sprites.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/shell/hud.h"
#include "game/shell/mod_timer.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "tests/support/golden.h"
#include "tests/support/headless.h"
#include "tests/support/sprite_log.h"

namespace {

using graphics::sprite_testing::DrawnSprite;
using shell::counters;
using shell::frmMain;
using shell::hud;
using world::assets;

// A ship at rest in the middle of level 1, nothing in the world, no spare ships.
class HudTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        world::ClearWorld();
        world::Ship() = world::cCar{};
        world::records.shipX = world::records.shipY = 2560;
        counters = shell::GameCounters{};
        counters.lives = 0;
        frmMain = shell::MainWindow{};
        shell::flow = shell::GameFlow{};
        hud = shell::HudState{};
        shell::frameTimer.frameScale = 1.0f;
        graphics::sprites.spriteScaleX = graphics::sprites.spriteScaleY = 0.75f;
    }

    // One HUD drawing at the given tick; what it drew of one texture.
    std::vector<DrawnSprite> DrawnAt(platform::Tick now, std::int32_t texture) {
        clock.Set(now);
        test_support::SpriteLog log;
        shell::DrawHud();
        return log.Of(texture);
    }
    // The ship sprite itself, not the spare-ship icons at the top of the screen.
    bool ShipShownAt(platform::Tick now) {
        for (const DrawnSprite& draw : DrawnAt(now, assets.shipTexture)) {
            if (draw.position.y > 100) return true;
        }
        return false;
    }

    platform::FakeClock clock{100000};
};

// The grace-period blink flips once the flip time has passed, not on it.
TEST_F(HudTest, AGracePeriodShowsAndHidesTheShipInTurnsOf250Ms) {
    counters.invulnerable = true;
    EXPECT_TRUE(ShipShownAt(100000));
    EXPECT_TRUE(ShipShownAt(100250));
    EXPECT_FALSE(ShipShownAt(100251));
    EXPECT_FALSE(ShipShownAt(100501));
    EXPECT_TRUE(ShipShownAt(100502));
    counters.invulnerable = false;
    EXPECT_TRUE(ShipShownAt(100800));  // the phase stays, the ship shows
}

TEST_F(HudTest, TheShieldLasts500MsAfterTheLastHitAndTurnsAQuarterRadianEvery50Ms) {
    counters.shipHit = true;
    const auto hit = DrawnAt(100000, assets.shieldTexture);
    ASSERT_EQ(hit.size(), 1u);
    EXPECT_FLOAT_EQ(hit[0].rotation, 0.25f);
    counters.shipHit = false;
    EXPECT_FLOAT_EQ(DrawnAt(100050, assets.shieldTexture).at(0).rotation, 0.25f);
    EXPECT_FLOAT_EQ(DrawnAt(100051, assets.shieldTexture).at(0).rotation, 0.5f);
    EXPECT_EQ(DrawnAt(100499, assets.shieldTexture).size(), 1u);
    EXPECT_TRUE(DrawnAt(100500, assets.shieldTexture).empty());

    // Past a full turn it starts again; a hit of a ship without health shows in its frame only.
    hud.shieldAngle = 6.2f;
    counters.health = 0;
    counters.shipHit = true;
    EXPECT_NEAR(DrawnAt(101000, assets.shieldTexture).at(0).rotation, 6.45f - 6.28f, 1e-5);
    counters.shipHit = false;
    EXPECT_TRUE(DrawnAt(101001, assets.shieldTexture).empty());
}

TEST_F(HudTest, TheHealthBarIsAsWideAsTheHealthLeft) {
    const std::pair<std::int32_t, float> widths[] = {{200, 0.6f}, {100, 0.3f}, {1, 0.003f}};
    for (const auto& [health, width] : widths) {
        counters.health = health;
        const auto bar = DrawnAt(100000, assets.healthTexture);
        ASSERT_EQ(bar.size(), 1u) << health;
        EXPECT_FLOAT_EQ(bar[0].scale.x, width) << health;
    }
}

TEST_F(HudTest, SpareShipsSitFortyPixelsApartFrom140) {
    counters.lives = 3;
    std::vector<float> xs;
    for (const DrawnSprite& draw : DrawnAt(100000, assets.shipTexture)) {
        if (draw.position.y == 30.0f) {
            xs.push_back(draw.position.x);
            EXPECT_FLOAT_EQ(draw.scale.x, 0.3f);
        }
    }
    EXPECT_EQ(xs, (std::vector<float>{140, 180, 220}));
    for (const std::int16_t lives : {0, -1}) {
        counters.lives = lives;
        for (const DrawnSprite& draw : DrawnAt(100000, assets.shipTexture)) {
            EXPECT_NE(draw.position.y, 30.0f) << lives;
        }
    }
}

// The radar maps the 5120-pixel world onto 128 pixels from (672, 472): the ship green with two
// white heading dots ahead of it, rocks blue, enemies cyan, coins yellow; shots and other kinds
// never show.
TEST_F(HudTest, TheRadarColoursEachKindAndNeverShowsShots) {
    struct Placed {
        std::int16_t type;
        bool isWeapon;
        std::uint32_t colour;  // 0: not shown
    };
    const Placed placed[] = {
        {1, false, 0xFF0000FFu},  {5, false, 0xFF0000FFu},  {6, false, 0xFF0000FFu},
        {4, false, 0xFF00FFFFu},  {7, false, 0xFF00FFFFu},  {12, false, 0xFF00FFFFu},
        {13, false, 0xFF00FFFFu}, {8, false, 0xFFFFFF00u},  {2, false, 0},  // an enemy's shot
        {3, false, 0},            {10, false, 0},           {11, false, 0},
        {2, true, 0},             {9, true, 0},             {1, true, 0},
    };
    for (std::size_t i = 0; i < std::size(placed); ++i) {
        auto o = std::make_shared<world::cObject>();
        o->oType = placed[i].type;
        o->IsWeapon = placed[i].isWeapon;
        o->X = static_cast<std::int32_t>(320 * i);
        o->Y = 5120;
        world::AddObject(o);
    }
    const auto dots = DrawnAt(100000, assets.starTexture);
    ASSERT_GE(dots.size(), 3u);
    EXPECT_EQ(dots[0].tint, 0xFF00FF00u);
    EXPECT_FLOAT_EQ(dots[0].position.x, 741.0f);  // 2560 / 5120 * 128 + 672 + 5
    EXPECT_FLOAT_EQ(dots[0].position.y, 541.0f);
    for (int step = 1; step <= 2; ++step) {
        EXPECT_EQ(dots[static_cast<std::size_t>(step)].tint, 0xFFFFFFFFu);
        EXPECT_NEAR(dots[static_cast<std::size_t>(step)].position.x, 741.0f, 0.01f);
        EXPECT_NEAR(dots[static_cast<std::size_t>(step)].position.y, 541.0f - 2 * step, 0.01f);
    }
    std::size_t next = 3;
    for (std::size_t i = 0; i < std::size(placed); ++i) {
        if (placed[i].colour == 0) continue;
        ASSERT_LT(next, dots.size()) << i;
        EXPECT_EQ(dots[next].tint, placed[i].colour) << placed[i].type;
        EXPECT_FLOAT_EQ(dots[next].position.x, 8.0f * static_cast<float>(i) + 672.0f) << placed[i].type;
        EXPECT_FLOAT_EQ(dots[next].position.y, 600.0f);
        ++next;
    }
    EXPECT_EQ(dots.size(), next);
}

// Red fog on levels 7 to 9, green on 13 to 15, none elsewhere; drawn at twice the global scale,
// which is 0.75 afterwards whatever it was before.
TEST_F(HudTest, FogBelongsToItsLevelsAndLeavesThePlayScale) {
    for (int level = 1; level <= 24; ++level) {
        counters.level = static_cast<std::int16_t>(level);
        graphics::sprites.spriteScaleX = 0.8f;
        graphics::sprites.spriteScaleY = 0.6f;
        const auto fog = DrawnAt(100000, assets.fogTexture);
        const bool red = level >= 7 && level <= 9;
        const bool green = level >= 13 && level <= 15;
        if (!red && !green) {
            EXPECT_TRUE(fog.empty()) << level;
            continue;
        }
        ASSERT_EQ(fog.size(), 25u) << level;
        EXPECT_EQ(fog[0].tint, red ? 0xAFAF0000u : 0xAF00AF00u) << level;
        EXPECT_EQ(fog[0].scale.x, 2.0f);
        EXPECT_EQ(graphics::sprites.spriteScaleX, 0.75f);
        EXPECT_EQ(graphics::sprites.spriteScaleY, 0.75f);
    }
}

// The whole HUD over an empty world: numbers and labels, a ship banking left with its shadow
// and a fresh shield, the radar with a few dots, the logo, a health bar at 130 and three
// spare ships.
TEST_F(HudTest, GoldenFrame) {
    counters.level = 5;
    counters.score = 123450;
    counters.money = -870;
    counters.health = 130;
    counters.lives = 3;
    counters.shipHit = true;
    frmMain.shipTilt = 1;
    world::Ship().xAccel = 4;
    world::Ship().Angle = 0.8;
    const std::tuple<std::int16_t, std::int32_t, std::int32_t> objects[] = {
        {1, 800, 1200}, {4, 3900, 2000}, {8, 2700, 4300}, {12, 1500, 3500}};
    for (const auto& [type, x, y] : objects) {
        auto o = std::make_shared<world::cObject>();
        o->oType = type;
        o->X = x;
        o->Y = y;
        world::AddObject(o);
    }
    graphics::BeginFrame();
    shell::DrawScoreAndMoney();
    shell::DrawHud();
    graphics::EndFrame();
    EXPECT_TRUE(test_support::MatchesGolden(
        test_support::FrameToImage(platform::device.lastPresented, platform::kScreenWidth,
                                   platform::kScreenHeight),
        "hud_level5"));
}

}  // namespace
