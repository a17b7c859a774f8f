#include <gtest/gtest.h>

#include "game/effects/weapons.h"
#include "game/shell/game_counters.h"
#include "game/world/records.h"
#include "platform/clock.h"

namespace {

class WeaponsTest : public ::testing::Test {
protected:
    void SetUp() override {
        world::records.cars[0] = std::make_shared<world::cCar>();
        world::ClearWorld();
        for (const char* name : {"Laser.bmp", "Sideshot.bmp", "Rearshot.bmp"}) {
            world::records.colObjRefs.Add({name, 1, 24, 6});
        }
        world::records.shipX = world::records.shipY = 2560;
        effects::weaponTimers = {};
        shell::counters = shell::GameCounters{};
    }
    const world::cObject& Shot(std::size_t i) { return *world::records.colObjects.at(i); }

    platform::FakeClock clock{100000};
};

TEST(ShotOffsets, MatchTheWorkedExamples) {
    struct Case {
        double k1, t1, k2, t2, heading;
        int x, y;
    };
    const Case cases[] = {
        {1, 6.28, 25, 4.71, 0, 26, -24},    // side shot
        {-15, 6.28, 15, 4.71, 0, 0, -30},   // cross shot
        {1, 6.28, 1, 4.71, 0, 2, 0},        // rear shot
        {7, 6.28, 1, 4.71, 0, 8, 6},        // phaser
        {3, 6.28, 15, 4.71, 3.14, -18, 12},
        {3, 1.57, 15, 3.14, 3.14, 18, 12},
        {-15, 6.28, 15, 4.71, 3.14, 0, 30},
    };
    for (const Case& c : cases) {
        const auto offset = effects::ShotOffset(c.k1, c.t1, c.k2, c.t2, c.heading);
        EXPECT_EQ(offset.x, c.x) << c.k1 << " " << c.t1 << " at " << c.heading;
        EXPECT_EQ(offset.y, c.y) << c.k1 << " " << c.t1 << " at " << c.heading;
    }
}

TEST_F(WeaponsTest, LaserAlternatesGunsAndWaitsStrictlyLongerThanItsInterval) {
    effects::FireWeapons();
    ASSERT_EQ(world::records.colObjects.size(), 1u);
    // The shot's centre starts 18 right and 12 up of the ship's point (2960, 2660).
    EXPECT_EQ(Shot(0).X + 3, 2960 + 18);
    EXPECT_EQ(Shot(0).Y + 12, 2660 - 12);
    EXPECT_TRUE(Shot(0).IsWeapon);
    EXPECT_EQ(Shot(0).Health, 10);
    EXPECT_EQ(Shot(0).LifeTime, 1000);
    clock.Advance(300);
    effects::FireWeapons();
    EXPECT_EQ(world::records.colObjects.size(), 1u);  // exactly 300 ms: not yet
    clock.Advance(1);
    effects::FireWeapons();
    ASSERT_EQ(world::records.colObjects.size(), 2u);
    EXPECT_EQ(Shot(1).X + 3, 2960 - 18);
    shell::counters.hasLaserUpgrade = true;
    clock.Advance(151);
    effects::FireWeapons();
    EXPECT_EQ(world::records.colObjects.size(), 3u);
}

TEST_F(WeaponsTest, EveryWeaponFiresInItsOrderOnTheFirstFrame) {
    shell::counters.hasPhasers = shell::counters.hasSideShot = shell::counters.hasCrossShot =
        shell::counters.hasRearShot = true;
    effects::FireWeapons();
    ASSERT_EQ(world::records.colObjects.size(), 7u);
    EXPECT_EQ(Shot(0).oType, 9);  // phaser
    EXPECT_EQ(Shot(0).Health, 30);
    EXPECT_EQ(Shot(1).name, "Laser.bmp");
    EXPECT_EQ(Shot(2).name, "Sideshot.bmp");
    EXPECT_NEAR(Shot(2).Angle, 1.57, 1e-12);
    EXPECT_NEAR(Shot(3).Angle, 4.71, 1e-12);
    EXPECT_EQ(Shot(2).xSpeed, 10);
    EXPECT_NEAR(Shot(4).Angle, 1.57 / 3, 1e-12);
    EXPECT_NEAR(Shot(5).Angle, -1.57 / 3, 1e-12);
    EXPECT_EQ(Shot(6).xSpeed, -20);  // the rear shot flies backwards
}

TEST_F(WeaponsTest, SpawnersMakeTheirRecords) {
    world::cObject rock;
    rock.name = "1";
    rock.X = 100;
    rock.Y = 200;
    effects::SpawnExplosion(120, 230);
    effects::SpawnDebris(rock);
    effects::SpawnCoin(rock, 0);
    ASSERT_EQ(world::records.colObjects.size(), 3u);
    EXPECT_EQ(Shot(0).name, "Laser.bmp");
    EXPECT_EQ(Shot(0).oType, 3);
    EXPECT_EQ(Shot(0).X, 120);
    EXPECT_EQ(Shot(0).LifeTime, 1000);
    EXPECT_EQ(Shot(1).name, "1");
    EXPECT_EQ(Shot(1).oType, 5);
    EXPECT_EQ(Shot(1).Value, 100);
    EXPECT_EQ(Shot(1).LifeTime, 0);
    EXPECT_LE(std::abs(Shot(1).xSpeed), 5.0);
    EXPECT_EQ(Shot(2).name, "4");
    EXPECT_EQ(Shot(2).oType, 8);
    EXPECT_EQ(Shot(2).LifeTime, 10000);
    EXPECT_LE(std::abs(Shot(2).ySpeed), 3.0);
}

}  // namespace
