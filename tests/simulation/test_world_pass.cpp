#include <gtest/gtest.h>

#include "game/shell/game_counters.h"
#include "game/shell/mod_timer.h"
#include "game/simulation/world_pass.h"
#include "game/world/records.h"
#include "platform/clock.h"

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
    std::int32_t x = 5000, y = 2000;
    simulation::DisplayWrap(100, 2000, x, y);
    EXPECT_EQ(x, -120);
    x = 100;
    simulation::DisplayWrap(4400, 2000, x, y);
    EXPECT_EQ(x, 5220);
    x = 4353;  // thresholds: 4353 wraps, 4352 does not
    simulation::DisplayWrap(767, 2000, x, y);
    EXPECT_EQ(x, -767);
    x = 4352;
    simulation::DisplayWrap(767, 2000, x, y);
    EXPECT_EQ(x, 4352);
    y = 100;
    simulation::DisplayWrap(2000, 4609, x, y);
    EXPECT_EQ(y, 5220);
}

TEST_F(WorldPassTest, AnObjectAtTheShipsPointIsDrawnAroundScreen400By500) {
    Placement p;
    p.width = 10;
    p.height = 20;
    // Centre (shipX + 400, shipY + 100) means box corner (shipX + 395, shipY + 90).
    p.dispX = 2560 + 395;
    p.dispY = 2560 + 90;
    simulation::PlaceOnScreen(2560, 2560, 0.0, p);
    EXPECT_FLOAT_EQ(p.sx + 5, 400);
    EXPECT_FLOAT_EQ(p.sy + 10, 500);
    // 100 pixels to its right shows 100 pixels to the right.
    p.dispX += 100;
    simulation::PlaceOnScreen(2560, 2560, 0.0, p);
    EXPECT_FLOAT_EQ(p.sx + 5, 500);
    // Turned a quarter: the view turns about the ship's point.
    simulation::PlaceOnScreen(2560, 2560, 1.57, p);
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
    a->Dead = true;
    c->Dead = true;
    Pass();
    ASSERT_EQ(world::records.colObjects.size(), 2u);
    EXPECT_EQ(world::records.colObjects[0], b);
    Pass();
    ASSERT_EQ(world::records.colObjects.size(), 1u);
    EXPECT_EQ(world::records.colObjects[0], b);
    Pass();
    EXPECT_EQ(world::records.colObjects.size(), 1u);  // b lives on
    // A record taken out stays valid for whoever still holds it.
    EXPECT_TRUE(a->Dead);
}

TEST_F(WorldPassTest, ExpiredObjectsLeaveAndThoseWithoutLifetimeNeverExpire) {
    auto shot = Add(100, 100);
    shot->LifeTime = 1000;
    shot->LifeStart = clock.Now();
    auto rock = Add(100, 100);
    clock.Advance(1000);
    Pass();
    EXPECT_EQ(world::records.colObjects.size(), 2u);  // exactly 1000 ms: not yet
    clock.Advance(1);
    Pass();
    ASSERT_EQ(world::records.colObjects.size(), 1u);
    EXPECT_TRUE(shot->Dead);
    clock.Advance(1000000);
    Pass();
    EXPECT_EQ(world::records.colObjects.size(), 1u);
    EXPECT_EQ(world::records.colObjects[0], rock);
}

TEST_F(WorldPassTest, MeshSpinWrapsOnceAndTheGracePeriodEnds) {
    simulation::worldPass.meshSpin = 359;
    Add(100, 100);
    shell::counters.invulnerable = true;
    shell::counters.invulnerableUntil = clock.Now() + 10;
    Pass();
    EXPECT_FLOAT_EQ(simulation::worldPass.meshSpin, 1);
    EXPECT_TRUE(shell::counters.invulnerable);
    clock.Advance(11);
    Pass();
    EXPECT_FALSE(shell::counters.invulnerable);
}

TEST(ObjRefCollection, KeysIgnoreLetterCaseAndKeepTheFirst) {
    world::ObjRefCollection kinds;
    EXPECT_TRUE(kinds.Add({"Laser.bmp", 1, 16, 8}));
    EXPECT_FALSE(kinds.Add({"LASER.BMP", 2, 1, 1}));
    ASSERT_NE(kinds.Find("laser.bmp"), nullptr);
    EXPECT_EQ(kinds.Find("laser.bmp")->refNum, 1);
    EXPECT_EQ(kinds.Find("laser.bm"), nullptr);
    EXPECT_EQ(kinds.Find(" Laser.bmp"), nullptr);  // blanks are part of a name
    EXPECT_EQ(kinds.Count(), 1u);
}

}  // namespace
