#include <gtest/gtest.h>

#include "game/effects/particles.h"
#include "game/shell/game_counters.h"
#include "game/simulation/behaviour.h"
#include "game/simulation/collisions.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "tests/support/headless.h"

namespace {

using simulation::Placement;

class CollisionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        world::ClearWorld();
        world::records.colObjRefs.Add({"Laser.bmp", 1, 24, 6});
        world::records.colObjRefs.Add({"rock", 2, 40, 40});
        world::records.colObjRefs.Add({"4", 3, 30, 40});
        world::records.shipX = world::records.shipY = 2560;
        shell::counters = shell::GameCounters{};
    }

    world::ObjectHandle Add(const char* name, std::int16_t type, std::int32_t x, std::int32_t y,
                            std::int32_t health) {
        auto o = std::make_shared<world::cObject>();
        o->name = name;
        o->oType = type;
        o->X = x;
        o->Y = y;
        o->Health = health;
        o->Value = health * 10;
        world::AddObject(o);
        return o;
    }
    world::ObjectHandle Shoot(std::int32_t x, std::int32_t y) {
        auto shot = Add("Laser.bmp", 2, x, y, 10);
        shot->IsWeapon = true;
        return shot;
    }
    // One collision test for o, placed where it stands.
    static void Hit(world::cObject& o) {
        const world::cObjRef* kind = world::records.colObjRefs.Find(o.name);
        simulation::TestCollisions(o, Placement{o.X, o.Y, 0, 0, kind->Width, kind->Height, 0});
    }

    platform::FakeClock clock{30000};
};

// A dead target still in the collection uses up a shot but pays nothing again.
TEST_F(CollisionsTest, TwoHitsBreakARockIntoFivePiecesWithoutCoinsAndPayOnce) {
    auto rock = Add("rock", simulation::kLargeRock, 1000, 1000, 20);
    auto shot = Shoot(1010, 1010);
    Hit(*shot);
    EXPECT_TRUE(shot->Dead);
    EXPECT_EQ(rock->Health, 10);
    EXPECT_FALSE(rock->Dead);
    EXPECT_TRUE(effects::particles.Active);
    Hit(*Shoot(1010, 1010));
    EXPECT_TRUE(rock->Dead);
    int pieces = 0, coins = 0;
    for (const auto& o : world::records.colObjects) {
        pieces += o->oType == simulation::kRockPiece;
        coins += o->oType == simulation::kCoin;
    }
    EXPECT_EQ(pieces, 5);
    EXPECT_EQ(coins, 0);
    auto third = Shoot(1010, 1010);
    Hit(*third);
    EXPECT_TRUE(third->Dead);
    EXPECT_EQ(shell::counters.score, 200);
}

TEST_F(CollisionsTest, CoinsDoNotStopShotsAndHideTargetsBehindThem) {
    Add("4", simulation::kCoin, 1000, 1000, 20);
    auto rock = Add("rock", simulation::kEnemy, 1000, 1000, 20);
    auto shot = Shoot(1005, 1005);
    Hit(*shot);
    EXPECT_FALSE(shot->Dead);
    EXPECT_EQ(rock->Health, 20);
}

TEST_F(CollisionsTest, HazardsHurtTheShipDownToZeroTheBossStaysAndCoinsPayOnce) {
    shell::counters.health = 5;
    // An object whose centre is at the ship's point overlaps the ship's box.
    auto mine = Add("rock", simulation::kMine, 2560 + 380, 2560 + 80, 10);
    Hit(*mine);
    EXPECT_EQ(shell::counters.health, 0);
    EXPECT_TRUE(shell::counters.shipHit);
    EXPECT_TRUE(mine->Dead);
    EXPECT_EQ(shell::counters.score, 100);

    shell::counters.health = 200;
    auto boss = Add("rock", simulation::kBoss, 2560 + 380, 2560 + 80, 30);
    Hit(*boss);
    Hit(*boss);
    EXPECT_FALSE(boss->Dead);
    EXPECT_EQ(shell::counters.health, 140);

    // Coins pay once and not during the grace period.
    auto coin = Add("4", simulation::kCoin, 2560 + 385, 2560 + 80, 20);
    shell::counters.invulnerable = true;
    Hit(*coin);
    EXPECT_FALSE(coin->Dead);
    EXPECT_EQ(shell::counters.money, 0);
    shell::counters.invulnerable = false;
    Hit(*coin);
    Hit(*coin);
    EXPECT_TRUE(coin->Dead);
    EXPECT_EQ(shell::counters.money, 10);
    EXPECT_EQ(shell::counters.health, 140);
}

TEST_F(CollisionsTest, ShotsHitOnlyOverlappingBoxesAndNotAcrossTheWorldsSeam) {
    auto rock = Add("rock", simulation::kLargeRock, 1000, 1000, 20);
    auto shot = Shoot(1040, 1000);  // its left edge on the rock's right edge
    Hit(*shot);
    EXPECT_FALSE(shot->Dead);
    shot->X = 1039;
    Hit(*shot);
    EXPECT_TRUE(shot->Dead);
    EXPECT_EQ(rock->Health, 10);
    Add("rock", simulation::kLargeRock, 5110, 1000, 20);
    EXPECT_EQ(simulation::ShotHitTest(*Shoot(2, 1005)), nullptr);
}

}  // namespace
