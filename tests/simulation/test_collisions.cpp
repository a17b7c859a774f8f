#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/audio/sound.h"
#include "game/effects/particles.h"
#include "game/shell/game_counters.h"
#include "game/simulation/behaviour.h"
#include "game/simulation/collisions.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "platform/sound.h"
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

// A kill is replaced by an explosion at its centre, halves of odd sizes going to the even
// neighbour (49 gives 24, 51 gives 26), and its sound starts in the explosion's slot; a hit
// that does not kill spawns and plays none.
TEST_F(CollisionsTest, AKillSpawnsItsExplosionAtTheTargetsCentreAndPlaysItsSound) {
    ASSERT_TRUE(audio::sound.dsound) << "the dummy sound device is open";
    platform::EmptySoundSlot(audio::kExplosionSlot);
    world::records.colObjRefs.Add({"odd49", 4, 51, 49});  // height 51, width 49
    auto target = Add("odd49", simulation::kMeshObject, 1000, 2000, 20);
    Hit(*Shoot(1010, 2010));
    EXPECT_FALSE(platform::SoundSlotLoaded(audio::kExplosionSlot));
    auto explosions = [] {
        std::vector<world::ObjectHandle> found;
        for (const auto& o : world::records.colObjects) {
            if (o->oType == simulation::kExplosion) found.push_back(o);
        }
        return found;
    };
    EXPECT_TRUE(explosions().empty());
    clock.Advance(5);
    Hit(*Shoot(1010, 2010));
    ASSERT_TRUE(target->Dead);
    const auto blasts = explosions();
    ASSERT_EQ(blasts.size(), 1u);
    EXPECT_EQ(blasts[0]->X, 1024);
    EXPECT_EQ(blasts[0]->Y, 2026);
    EXPECT_EQ(blasts[0]->LifeTime, 1000);
    EXPECT_EQ(blasts[0]->LifeStart, clock.Now());
    EXPECT_FALSE(blasts[0]->IsWeapon);
    EXPECT_TRUE(platform::SoundSlotPlaying(audio::kExplosionSlot));
}

// Counters and hit points stop at the 32-bit limits: a level may hold a boss no play could
// wear down, and the checked build halts on a wrapped sum.
TEST_F(CollisionsTest, HugeValuesFromALevelSaturateInsteadOfWrapping) {
    auto boss = Add("rock", simulation::kBoss, 2560 + 380, 2560 + 80, 214748364);
    Hit(*boss);
    Hit(*boss);
    EXPECT_EQ(shell::counters.score, INT32_MAX);
    EXPECT_EQ(shell::counters.health, 0);

    shell::counters.health = 200;
    auto healer = Add("rock", simulation::kMine, 2560 + 380, 2560 + 80, 0);
    healer->Health = INT32_MIN;
    healer->Value = INT32_MIN;
    Hit(*healer);
    EXPECT_EQ(shell::counters.health, INT32_MAX);
    EXPECT_EQ(shell::counters.score, -1);  // INT32_MAX + INT32_MIN

    auto deep = Add("rock", simulation::kLargeRock, 1000, 1000, 0);
    deep->Health = INT32_MIN + 5;
    Hit(*Shoot(1010, 1010));
    EXPECT_EQ(deep->Health, INT32_MIN);
    EXPECT_TRUE(deep->Dead);

    shell::counters.money = INT32_MAX - 5;
    Hit(*Add("4", simulation::kCoin, 2560 + 385, 2560 + 80, 20));
    EXPECT_EQ(shell::counters.money, INT32_MAX);
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
