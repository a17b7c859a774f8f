#include <gtest/gtest.h>

#include <cstdint>

#include "game/shell/game_counters.h"
#include "game/shell/mod_timer.h"
#include "game/simulation/world_pass.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "tests/support/headless.h"

namespace {

using simulation::Placement;

class WorldPassTest : public ::testing::Test {
protected:
    void SetUp() override {
        world::records.cars[0] = std::make_shared<world::cCar>();
        world::ClearWorld();
        world::records.colObjRefs.Add({"rock", 1, 20, 10});
        shell::frameTimer.frameScale = 1.0f;
        simulation::worldPass = {};
    }

    world::ObjectHandle Add(std::int32_t x, std::int32_t y) {
        auto o = std::make_shared<world::cObject>();
        o->name = "rock";
        o->X = x;
        o->Y = y;
        world::AddObject(o);
        return o;
    }
    void Pass() {
        std::int32_t x = 2560, y = 2560;
        simulation::UpdateWorldObjects(x, y);
    }

    platform::FakeClock clock{50000};
};

TEST_F(WorldPassTest, DisplayWrapShowsTheFarSideBesideANearEdge) {
    struct Case {
        std::int32_t shipX, shipY, x, y, wantX, wantY;
    };
    const Case cases[] = {
        {100, 2000, 5000, 2000, -120, 2000},
        {4400, 2000, 100, 2000, 5220, 2000},
        {767, 2000, 4353, 2000, -767, 2000},  // thresholds: 4353 wraps, 4352 does not
        {767, 2000, 4352, 2000, 4352, 2000},
        {2000, 4609, 2000, 100, 2000, 5220},
    };
    for (const Case& c : cases) {
        std::int32_t x = c.x, y = c.y;
        simulation::DisplayWrap(c.shipX, c.shipY, x, y);
        EXPECT_EQ(x, c.wantX) << c.x;
        EXPECT_EQ(y, c.wantY) << c.y;
    }
}

// A 10 x 20 box centred 400 right and 100 down of the ship's point is drawn at screen 400 by 500.
TEST_F(WorldPassTest, AnObjectAtTheShipsPointIsDrawnAroundScreen400By500) {
    Placement p{2560 + 395, 2560 + 90, 0, 0, 10, 20, 0};
    simulation::PlaceOnScreen(2560, 2560, 0.0, p);
    EXPECT_FLOAT_EQ(p.sx + 5, 400);
    EXPECT_FLOAT_EQ(p.sy + 10, 500);
    p.dispX += 100;
    simulation::PlaceOnScreen(2560, 2560, 1.57, p);  // a quarter turn about the ship's point
    EXPECT_NEAR(p.sx + 5, 400, 0.1);
    EXPECT_NEAR(p.sy + 10, 600, 0.1);
}

TEST_F(WorldPassTest, WorldWrapKeeps5120AndFoldsTheRest) {
    world::cObject o;
    o.X = -3;
    o.Y = 5121;
    simulation::WrapPosition(o);
    EXPECT_EQ(o.X, 5117);
    EXPECT_EQ(o.Y, 1);
    o.X = 5120;
    simulation::WrapPosition(o);
    EXPECT_EQ(o.X, 5120);
}

TEST_F(WorldPassTest, OneFinishedObjectLeavesPerPassInCollectionOrder) {
    auto a = Add(100, 100);
    auto b = Add(200, 100);
    auto c = Add(300, 100);
    a->Dead = c->Dead = true;
    for (std::size_t left : {2u, 1u, 1u}) {  // b lives on
        Pass();
        ASSERT_EQ(world::records.colObjects.size(), left);
        EXPECT_EQ(world::records.colObjects[0], b);
    }
}

// Lifetimes and the grace period both end only once their time is past.
TEST_F(WorldPassTest, ExpiredObjectsLeaveAndThoseWithoutLifetimeNeverExpire) {
    auto shot = Add(100, 100);
    shot->LifeTime = 1000;
    shot->LifeStart = clock.Now();
    auto rock = Add(100, 100);
    shell::counters.invulnerable = true;
    shell::counters.invulnerableUntil = clock.Now() + 1000;
    clock.Advance(1000);
    Pass();
    EXPECT_EQ(world::records.colObjects.size(), 2u);
    EXPECT_TRUE(shell::counters.invulnerable);
    clock.Advance(1);
    Pass();
    ASSERT_EQ(world::records.colObjects.size(), 1u);
    EXPECT_TRUE(shot->Dead);  // still valid for whoever holds it
    EXPECT_FALSE(shell::counters.invulnerable);
    clock.Advance(1000000);
    Pass();
    ASSERT_EQ(world::records.colObjects.size(), 1u);
    EXPECT_EQ(world::records.colObjects[0], rock);
}

// A level file may put an object next to the 32-bit limits. Placing it, steering it and
// testing it against the ship and the shots must not wrap (the checked build halts on that);
// the world folds it in by one world a pass like any other.
TEST_F(WorldPassTest, ObjectsAtThe32BitLimitsArePlacedTestedAndFoldedIn) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    world::records.colObjRefs.Add({"Laser.bmp", 2, 24, 6});
    auto enemy = Add(INT32_MIN, INT32_MIN);
    enemy->oType = 4;
    enemy->LastStateChange = enemy->LastCount = clock.Now() + 100000;
    auto coin = Add(INT32_MAX, INT32_MAX);
    coin->oType = 8;
    auto shot = Add(INT32_MAX, INT32_MAX);
    shot->name = "Laser.bmp";
    shot->oType = 2;
    shot->IsWeapon = true;
    Pass();
    EXPECT_EQ(enemy->X, INT32_MIN + 5120);
    EXPECT_EQ(enemy->Y, INT32_MIN + 5120);
    EXPECT_EQ(coin->X, INT32_MAX - 5120);
    EXPECT_EQ(shot->X, INT32_MAX - 5120);
}

TEST(ObjRefCollection, FindsWholeNamesOnly) {
    world::ObjRefCollection kinds;
    ASSERT_TRUE(kinds.Add({"Laser.bmp", 1, 16, 8}));
    EXPECT_EQ(kinds.Find("laser.bm"), nullptr);
    EXPECT_EQ(kinds.Find(" Laser.bmp"), nullptr);  // blanks are part of a name
}

}  // namespace
