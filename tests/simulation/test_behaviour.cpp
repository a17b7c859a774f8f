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

    world::cObject Make(std::int16_t type, std::int32_t x, std::int32_t y) {
        world::cObject o;
        o.name = "enemy.bmp";
        o.oType = type;
        o.X = x;
        o.Y = y;
        return o;
    }

    Placement OffScreen() {
        Placement p;
        p.width = p.height = 64;
        p.sx = -500;  // enemies off screen never fire
        p.sy = -500;
        p.refNum = 1;
        return p;
    }

    platform::FakeClock clock{20000};
};

TEST(Bearing, PointsEachEnemyAtTheShip) {
    const std::int32_t tx = 2960, ty = 2660;
    EXPECT_NEAR(simulation::Bearing(tx - 300, ty, tx, ty, 0), 3.14, 1e-9);  // west: dx > 0
    EXPECT_NEAR(simulation::Bearing(tx, ty - 300, tx, ty, 0), 1.57, 1e-6);  // north: dy > 0
    EXPECT_NEAR(simulation::Bearing(tx + 300, ty, tx, ty, 0), 0.0, 1e-9);  // east: keeps 0
    EXPECT_EQ(simulation::Bearing(tx, ty, tx, ty, 1.25), 1.25);            // on the point: the last one
}

TEST_F(BehaviourTest, ClosingInEnemiesMoveTowardsTheShip) {
    const std::int32_t tx = 2960, ty = 2660;
    struct Case {
        std::int32_t x, y;
        int dxSign, dySign;
    };
    for (const Case c : {Case{tx - 400, ty, +1, 0}, Case{tx + 400, ty, -1, 0}, Case{tx, ty - 400, 0, +1}}) {
        world::cObject o = Make(simulation::kEnemy, c.x, c.y);
        o.xSpeed = o.ySpeed = 3;
        o.State = 0;
        o.LastStateChange = clock.Now() + 100000;  // keep the mood
        o.LastCount = clock.Now() + 100000;
        for (int i = 0; i < 80; ++i) {
            simulation::RunBehaviour(o, OffScreen());
        }
        if (c.dxSign != 0) {
            EXPECT_EQ((o.X - c.x) > 0 ? 1 : -1, c.dxSign) << c.x;
            EXPECT_LT(std::abs(o.X - tx), std::abs(c.x - tx));
        }
        if (c.dySign != 0) {
            EXPECT_GT(o.Y, c.y);
        }
    }
}

TEST_F(BehaviourTest, ClosingInStopsAtOneHundredPixelsOnAnAxis) {
    const std::int32_t tx = 2960, ty = 2660;
    world::cObject at100 = Make(simulation::kEnemy, tx - 100, ty);
    at100.xSpeed = at100.ySpeed = 3;
    at100.Angle = 3.14;
    at100.LastStateChange = clock.Now() + 100000;
    at100.LastCount = clock.Now() + 100000;
    world::cObject at101 = at100;
    at101.X = tx - 101;
    simulation::RunBehaviour(at100, OffScreen());
    simulation::RunBehaviour(at101, OffScreen());
    EXPECT_EQ(at100.X, tx - 100);
    EXPECT_EQ(at101.X, tx - 98);
}

TEST_F(BehaviourTest, EnemiesFireOnlyFromInsideTheScreenAndNotTwiceASecond) {
    world::cObject o = Make(simulation::kEnemyTwo, 1000, 1000);
    o.LastStateChange = clock.Now() + 100000;
    Placement p = OffScreen();
    p.sx = 0;  // the bounds are strict
    p.sy = 300;
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
    const world::cObject& shot = *world::records.colObjects.front();
    EXPECT_EQ(shot.name, "Blast.bmp");
    EXPECT_EQ(shot.oType, simulation::kShot);
    EXPECT_FALSE(shot.IsWeapon);
    EXPECT_EQ(shot.Health, 10);
    EXPECT_EQ(shot.LifeTime, 1000);
    EXPECT_EQ(shot.xSpeed, 20);
}

TEST_F(BehaviourTest, MoodsComeBackEveryOneToThreeSeconds) {
    world::cObject o = Make(simulation::kBoss, 1000, 1000);
    int counts[5] = {};
    for (int i = 0; i < 2000; ++i) {
        o.LastStateChange = 0;
        simulation::RunBehaviour(o, OffScreen());
        ASSERT_GE(o.State, 0);
        ASSERT_LE(o.State, 4);
        ++counts[o.State];
        ASSERT_GE(o.LastStateChange, clock.Now() + 1000);
        ASSERT_LE(o.LastStateChange, clock.Now() + 3000);
    }
    EXPECT_LT(counts[0], counts[2]);
    EXPECT_LT(counts[4], counts[2]);
    EXPECT_GT(counts[0], 0);
}

TEST_F(BehaviourTest, PhaserBeamGrowsToItsLimit) {
    world::cObject beam = Make(simulation::kPhaserBeam, 1000, 1000);
    beam.PhaserLength = 3.45f;
    simulation::RunBehaviour(beam, OffScreen());
    EXPECT_FLOAT_EQ(beam.PhaserLength, 3.5f);
}

TEST_F(BehaviourTest, ShotsFlyAlongTheirHeading) {
    world::cObject shot = Make(simulation::kShot, 1000, 1000);
    shot.xSpeed = 20;
    simulation::RunBehaviour(shot, OffScreen());
    EXPECT_EQ(shot.X, 1000);
    EXPECT_EQ(shot.Y, 980);  // heading 0: towards smaller Y
    shot.Angle = 1.57;
    simulation::RunBehaviour(shot, OffScreen());
    EXPECT_EQ(shot.X, 980);
}

TEST_F(BehaviourTest, ExplosionsShowFrameOneFirstAndHoldTheLast) {
    world::cObject blast = Make(simulation::kExplosion, 1000, 1000);
    simulation::RunBehaviour(blast, OffScreen());
    EXPECT_EQ(blast.LastFrame, 1);
    for (int i = 0; i < 40; ++i) {
        clock.Advance(51);
        simulation::RunBehaviour(blast, OffScreen());
    }
    EXPECT_EQ(blast.LastFrame, 15);
    EXPECT_EQ(blast.X, 1000);
}

TEST_F(BehaviourTest, CoinsDriftByWholeSpeedsAndRocksByTheFrameScale) {
    world::cObject coin = Make(simulation::kCoin, 1000, 1000);
    coin.name = "4";
    coin.xSpeed = 2;
    world::cObject rock = Make(simulation::kLargeRock, 1000, 1000);
    rock.name = "1";
    rock.xSpeed = 2;
    shell::frameTimer.frameScale = 2.0f;  // 30 frames per second
    simulation::RunBehaviour(coin, OffScreen());
    simulation::RunBehaviour(rock, OffScreen());
    EXPECT_EQ(coin.X, 1002);
    EXPECT_EQ(rock.X, 1004);
}

TEST_F(BehaviourTest, UnknownTypesNeitherMoveNorDraw) {
    world::cObject odd = Make(11, 1000, 1000);
    odd.xSpeed = 5;
    simulation::RunBehaviour(odd, OffScreen());
    EXPECT_EQ(odd.X, 1000);
}

TEST(ShadowLevels, AreFourToSixAndEighteenAndNineteen) {
    for (int level = 1; level <= 24; ++level) {
        const bool expected = level == 4 || level == 5 || level == 6 || level == 18 || level == 19;
        EXPECT_EQ(simulation::IsShadowLevel(level), expected) << level;
    }
}

}  // namespace
