#include <gtest/gtest.h>

#include <cmath>

#include "game/input/dinput.h"
#include "game/shell/frm_main.h"
#include "game/shell/mod_timer.h"
#include "game/simulation/ship_control.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "platform/keyboard.h"

namespace {

using shell::frmMain;

enum Key : int { kUp = 200, kDown = 208, kLeft = 203, kRight = 205, kFire = 57, kStrafeL = 30, kStrafeR = 32 };

class ShipControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        world::records.cars[0] = std::make_shared<world::cCar>();
        world::records.shipX = 2560;
        world::records.shipY = 2560;
        input::dinput.keyCodes = {kUp, kDown, kLeft, kRight, kFire, kStrafeL, kStrafeR, 0};
        frmMain = shell::MainWindow{};
        // The slow decay has just happened: it stays out of the way for 100 ms.
        frmMain.lastDecayTick = clock.Now();
        platform::ScriptKeyboard(true);
        shell::frameTimer.frameScale = 1.0f;
    }
    void TearDown() override { platform::ScriptKeyboard(false); }

    void Hold(int key, bool down = true) { platform::ScriptKey(key, down); }
    // Frames of ship control, the clock moving stepMs between them.
    void Fly(int frames, int stepMs = 0) {
        for (int i = 0; i < frames; ++i) {
            simulation::HandleKeys();
            clock.Advance(stepMs);
        }
    }
    world::cCar& Ship() { return world::Ship(); }

    platform::FakeClock clock{10000};
};

// Friction takes 0.1 a frame after the move, down to rest; the slow decay takes 1 every 100 ms.
TEST_F(ShipControlTest, SpeedFiveMovesFivePixelsUpAndFrictionAndTheSlowDecayTakeTheirShare) {
    Ship().xAccel = Ship().yAccel = 5.1f;
    frmMain.lastDecayTick = clock.Now() - 101;
    Fly(2);
    EXPECT_EQ(world::records.shipY, 2551);  // 5.1 then 4.0, rounded
    EXPECT_EQ(world::records.shipX, 2560);
    EXPECT_NEAR(Ship().xAccel, 3.9f, 1e-5);  // the decay once, within 100 ms friction only
    // Within one step of rest the ship stops dead rather than turning round: 0.15 leaves 0.05
    // (and restarts the idle bob at 3.14), which the next frame stops; backwards the same.
    for (const float start : {0.15f, -0.15f}) {
        Ship().xAccel = Ship().yAccel = start;
        frmMain.enginePhase = 1.0;
        Fly(1);
        EXPECT_NEAR(Ship().xAccel, start / 3, 1e-6) << start;
        EXPECT_EQ(Ship().yAccel, Ship().xAccel) << start;
        EXPECT_EQ(frmMain.enginePhase, 3.14) << start;
        frmMain.enginePhase = 1.0;
        Fly(1);
        EXPECT_EQ(Ship().xAccel, 0.0f) << start;
        EXPECT_EQ(Ship().yAccel, 0.0f) << start;
        EXPECT_EQ(frmMain.enginePhase, 1.0) << start;  // stopping is no longer moving
    }
}

TEST_F(ShipControlTest, StrafingMovesLeftOfTheHeadingTiltsAndSaturatesThenDiesAway) {
    Hold(kStrafeL);
    Fly(1);
    EXPECT_EQ(world::records.shipX, 2559);  // one pixel from rest
    EXPECT_EQ(frmMain.shipTilt, 1);
    Fly(99);
    EXPECT_NEAR(frmMain.strafeSpeed, 9.8, 1e-9);  // capped at 10, then decayed by 0.2
    Hold(kStrafeL, false);
    Hold(kStrafeR);
    Fly(1);
    EXPECT_EQ(frmMain.shipTilt, 2);
    Hold(kStrafeR, false);
    Fly(100);
    EXPECT_EQ(frmMain.strafeSpeed, 0.0);
}

TEST_F(ShipControlTest, TurningWrapsInTheSameCall) {
    Ship().CarAngle = 6.27;
    Hold(kLeft);
    simulation::HandleKeys();
    EXPECT_NEAR(Ship().CarAngle, 0.04, 1e-9);
    EXPECT_EQ(Ship().Angle, Ship().CarAngle);
    EXPECT_EQ(frmMain.shipTilt, 1);
    Hold(kRight);  // both held: the right turn wins the tilt and the turns cancel
    simulation::HandleKeys();
    EXPECT_NEAR(Ship().CarAngle, 0.04, 1e-9);
    EXPECT_EQ(frmMain.shipTilt, 2);
    Hold(kLeft, false);
    Ship().CarAngle = 0.01;
    simulation::HandleKeys();
    EXPECT_NEAR(Ship().CarAngle, 6.24, 1e-9);
}

TEST_F(ShipControlTest, PositionWrapsAtTheWorldEdgesButKeeps5120) {
    world::records.shipX = world::records.shipY = 5120;
    Fly(1);
    EXPECT_EQ(world::records.shipX, 5120);
    EXPECT_EQ(world::records.shipY, 5120);
    Ship().xAccel = Ship().yAccel = 3.1f;  // heading 0: moves to smaller Y
    world::records.shipY = 2;
    simulation::HandleKeys();
    EXPECT_EQ(world::records.shipY, 5119);
    Ship().CarAngle = Ship().Angle = 4.71;  // heading three quarters: moves to larger X
    Ship().xAccel = Ship().yAccel = 5.1f;
    world::records.shipX = 5118;
    simulation::HandleKeys();
    EXPECT_EQ(world::records.shipX, 3);
}

TEST_F(ShipControlTest, ThrustClimbsToTheLimit) {
    Hold(kUp);
    Fly(300, 16);
    EXPECT_LE(Ship().xAccel, 12.0f);
    EXPECT_GT(Ship().xAccel, 10.0f);
}

// The same flight at 60 and at 30 frames per second covers the same distance.
TEST_F(ShipControlTest, DistanceDoesNotDependOnTheFrameRate) {
    auto fly = [&](float scale, int frames, int stepMs) {
        SetUp();
        shell::frameTimer.frameScale = scale;
        Ship().CarAngle = Ship().Angle = 0.7;
        Hold(kUp);
        Hold(kStrafeL);
        Fly(frames, stepMs);
        const double dx = world::records.shipX - 2560.0;
        const double dy = world::records.shipY - 2560.0;
        return std::sqrt(dx * dx + dy * dy);
    };
    const double at60 = fly(1.0f, 240, 16);
    const double at30 = fly(2.0f, 120, 33);
    EXPECT_GT(at60, 500.0);
    EXPECT_NEAR(at30 / at60, 1.0, 0.05);
}

}  // namespace
