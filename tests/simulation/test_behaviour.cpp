#include <gtest/gtest.h>

#include "game/shell/game_counters.h"
#include "game/shell/mod_timer.h"
#include "game/simulation/behaviour.h"
#include "game/simulation/world_pass.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "tests/support/headless.h"

namespace {

using simulation::Placement;

class BehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        world::ClearWorld();
        world::Ship() = world::cCar{};
        world::records.shipX = 2560;
        world::records.shipY = 2560;
        world::records.colObjRefs.Add({"enemy.bmp", 1, 64, 64});
        shell::frameTimer.frameScale = 1.0f;
        simulation::BeginBehaviourPass();
    }

    // A kind at (1000, 1000) and, off screen, a placement where enemies never fire.
    world::cObject Make(std::int16_t type, std::int32_t x = 1000, std::int32_t y = 1000) {
        world::cObject o;
        o.name = "enemy.bmp";
        o.oType = type;
        o.X = x;
        o.Y = y;
        return o;
    }
    static Placement OffScreen() { return {0, 0, -500, -500, 64, 64, 1}; }

    platform::FakeClock clock{20000};
};

TEST(Bearing, PointsEachEnemyAtTheShip) {
    const std::int32_t tx = 2960, ty = 2660;
    EXPECT_NEAR(simulation::Bearing(tx - 300, ty, tx, ty, 0), 3.14, 1e-9);  // west: dx > 0
    EXPECT_NEAR(simulation::Bearing(tx, ty - 300, tx, ty, 0), 1.57, 1e-6);  // north: dy > 0
    EXPECT_NEAR(simulation::Bearing(tx + 300, ty, tx, ty, 0), 0.0, 1e-9);  // east: keeps 0
    // On the point only the arcsine is skipped: the half-turn still acts on the last bearing.
    EXPECT_NEAR(simulation::Bearing(tx, ty, tx, ty, 1.25), 3.14 - 1.25, 1e-12);
}

// The first enemy of a pass that sits on the ship's point turns from bearing 0 to 3.14; the
// next one on it in the same pass turns that back to 0.
TEST_F(BehaviourTest, EnemiesOnTheShipsPointTurnTheLastBearingHalfRound) {
    world::cObject first = Make(simulation::kEnemy, 2960, 2660);
    first.LastStateChange = first.LastCount = clock.Now() + 100000;
    world::cObject second = first;
    simulation::RunBehaviour(first, OffScreen());
    EXPECT_NEAR(simulation::behaviour.bearing, 3.14, 1e-12);
    EXPECT_NEAR(first.Angle, 0.1, 1e-12);  // one turning step towards 3.14
    simulation::RunBehaviour(second, OffScreen());
    EXPECT_NEAR(simulation::behaviour.bearing, 0.0, 1e-12);
    EXPECT_EQ(second.Angle, 0.0);  // already on 0: settled
}

// The ship's point is (2960, 2660); a closing-in enemy keeps its mood throughout.
TEST_F(BehaviourTest, ClosingInEnemiesApproachTheShipAndStopAtOneHundredPixelsOnAnAxis) {
    const std::int32_t tx = 2960, ty = 2660;
    auto closingIn = [&](std::int32_t x, std::int32_t y, int frames, double angle = 0) {
        world::cObject o = Make(simulation::kEnemy, x, y);
        o.xSpeed = o.ySpeed = 3;
        o.Angle = angle;
        o.LastStateChange = o.LastCount = clock.Now() + 100000;
        for (int i = 0; i < frames; ++i) {
            simulation::RunBehaviour(o, OffScreen());
        }
        return o;
    };
    // From the west and the east: nearer, without overshooting by as much as it started away.
    for (const std::int32_t x : {tx - 400, tx + 400}) {
        const world::cObject o = closingIn(x, ty, 80);
        EXPECT_EQ(o.X > x, x < tx) << x;
        EXPECT_LT(std::abs(o.X - tx), 400) << x;
    }
    EXPECT_GT(closingIn(tx, ty - 400, 80).Y, ty - 400);
    EXPECT_EQ(closingIn(tx - 100, ty, 1, 3.14).X, tx - 100);
    EXPECT_EQ(closingIn(tx - 101, ty, 1, 3.14).X, tx - 98);
}

TEST_F(BehaviourTest, EnemiesFireOnlyFromInsideTheScreenAndNotTwiceASecond) {
    world::cObject o = Make(simulation::kEnemyTwo);
    o.LastStateChange = clock.Now() + 100000;
    Placement p{0, 0, 0, 300, 64, 64, 1};  // sx 0: the bounds are strict
    for (int i = 0; i < 100; ++i) {
        simulation::RunBehaviour(o, p);
        clock.Advance(1001);
    }
    EXPECT_TRUE(world::records.colObjects.empty());
    p.sx = 1;
    int shots = 0;
    for (int i = 0; i < 200; ++i) {
        simulation::RunBehaviour(o, p);
        shots = static_cast<int>(world::records.colObjects.size());
        clock.Advance(250);
    }
    // 50 seconds, a chance a second, half of them taken.
    EXPECT_GT(shots, 10);
    EXPECT_LT(shots, 40);
    EXPECT_FALSE(world::records.colObjects.front()->IsWeapon);  // cannot hit enemies
}

TEST_F(BehaviourTest, MoodsComeBackEveryOneToThreeSeconds) {
    world::cObject o = Make(simulation::kBoss);
    int counts[5] = {};
    for (int i = 0; i < 2000; ++i) {
        o.LastStateChange = 0;
        simulation::RunBehaviour(o, OffScreen());
        ASSERT_TRUE(o.State >= 0 && o.State <= 4) << o.State;
        ++counts[o.State];
        ASSERT_GE(o.LastStateChange, clock.Now() + 1000);
        ASSERT_LE(o.LastStateChange, clock.Now() + 3000);
    }
    EXPECT_LT(counts[0], counts[2]);
    EXPECT_LT(counts[4], counts[2]);
    EXPECT_GT(counts[0], 0);
}

// One frame of the kinds that only move or grow, from (1000, 1000).
TEST_F(BehaviourTest, ShotsCoinsRocksBeamsAndExplosionsTakeOneStepOfTheirOwn) {
    struct Case {
        std::int16_t type;
        const char* name;
        double angle;
        float frameScale;
        std::int32_t x, y;
    };
    const Case cases[] = {
        {simulation::kShot, "enemy.bmp", 0, 1, 1000, 980},   // heading 0: towards smaller Y
        {simulation::kShot, "enemy.bmp", 1.57, 1, 980, 1000},
        {simulation::kCoin, "4", 0, 2, 1002, 1000},          // whole speeds, whatever the rate
        {simulation::kLargeRock, "1", 0, 2, 1004, 1000},     // scaled: 30 frames per second
        {11, "enemy.bmp", 0, 1, 1000, 1000},                 // unknown kinds stay put
    };
    for (const Case& c : cases) {
        world::cObject o = Make(c.type);
        o.name = c.name;
        o.Angle = c.angle;
        o.xSpeed = c.type == simulation::kShot ? 20 : (c.type == 11 ? 5 : 2);
        shell::frameTimer.frameScale = c.frameScale;
        simulation::RunBehaviour(o, OffScreen());
        EXPECT_EQ(o.X, c.x) << c.type << " " << c.angle;
        EXPECT_EQ(o.Y, c.y) << c.type << " " << c.angle;
    }
    shell::frameTimer.frameScale = 1.0f;
    world::cObject beam = Make(simulation::kPhaserBeam);
    beam.PhaserLength = 3.45f;
    simulation::RunBehaviour(beam, OffScreen());
    EXPECT_FLOAT_EQ(beam.PhaserLength, 3.5f);  // grows to its limit and no further
    world::cObject blast = Make(simulation::kExplosion);
    simulation::RunBehaviour(blast, OffScreen());
    EXPECT_EQ(blast.LastFrame, 1);  // frame one first, then holds the last
    for (int i = 0; i < 40; ++i) {
        clock.Advance(51);
        simulation::RunBehaviour(blast, OffScreen());
    }
    EXPECT_EQ(blast.LastFrame, 15);
}

TEST(ShadowLevels, AreFourToSixAndEighteenAndNineteen) {
    for (int level = 1; level <= 24; ++level) {
        const bool shadow = (level >= 4 && level <= 6) || level == 18 || level == 19;
        EXPECT_EQ(simulation::IsShadowLevel(level), shadow) << level;
    }
}

}  // namespace
