#include "game/simulation/ship_control.h"

#include <cmath>

#include "common/level_files.h"
#include "common/rounding.h"
#include "common/scancodes.h"
#include "game/effects/weapons.h"
#include "game/input/dinput.h"
#include "game/shell/frm_main.h"
#include "game/shell/mod_timer.h"
#include "game/world/records.h"
#include "platform/clock.h"

namespace simulation {

namespace {

using common::kWorldSize;

enum Action { kUp = 0, kDown, kTurnLeft, kTurnRight, kFire, kStrafeLeft, kStrafeRight };

bool Held(Action action) {
    const int code = input::dinput.keyCodes[static_cast<std::size_t>(action)];
    return code >= 0 && code < 256 && input::dinput.keyState[static_cast<std::size_t>(code)];
}

// A position moved by a floating step is stored rounded, halves to the even neighbour.
std::int32_t Moved(std::int32_t position, double step) {
    return common::RoundToLong(static_cast<double>(position) - step);
}

double WrapAngle(double angle) {
    if (angle < 0) {
        angle += kFullTurn;
    }
    if (angle > kFullTurn) {
        angle -= kFullTurn;
    }
    return angle;
}

}  // namespace

void HandleKeys() {
    using shell::frmMain;
    world::cCar& ship = world::Ship();
    std::int32_t& shipX = world::records.shipX;
    std::int32_t& shipY = world::records.shipY;
    const float s = shell::frameTimer.frameScale;
    const double sd = s;

    frmMain.shipTilt = 0;
    input::UpdateInput();

    // Thrust.
    if (Held(kUp)) {
        ship.xAccel += s;
        ship.yAccel += s;
    }
    if (Held(kDown)) {
        ship.xAccel -= s;
        ship.yAccel -= s;
    }

    // Forward motion along the heading; heading 0 points to smaller Y.
    shipX = Moved(shipX, static_cast<double>(ship.xAccel) * std::sin(ship.Angle) * sd);
    shipY = Moved(shipY, static_cast<double>(ship.yAccel) * std::cos(ship.Angle) * sd);

    // Strafe keys: positive strafe speed is to the left of the heading.
    if (Held(kStrafeLeft)) {
        frmMain.strafeSpeed += sd;
        if (frmMain.strafeSpeed > kMaxStrafeSpeed) {
            frmMain.strafeSpeed = kMaxStrafeSpeed;
        }
        frmMain.shipTilt = 1;
    }
    if (Held(kStrafeRight)) {
        frmMain.strafeSpeed -= sd;
        if (frmMain.strafeSpeed < -kMaxStrafeSpeed) {
            frmMain.strafeSpeed = -kMaxStrafeSpeed;
        }
        frmMain.shipTilt = 2;
    }

    if (Held(kFire)) {
        effects::FireWeapons();
    }
    if (input::dinput.keyState[common::kKeyEscape]) {
        frmMain.quitRequested = true;
    }

    // Strafe motion, then the strafe speed dies away.
    if (frmMain.strafeSpeed != 0) {
        shipX = Moved(shipX, std::sin(ship.Angle + 1.57) * frmMain.strafeSpeed * sd);
        shipY = Moved(shipY, std::cos(ship.Angle + 1.57) * frmMain.strafeSpeed * sd);
        if (std::fabs(frmMain.strafeSpeed) < 0.2) {
            frmMain.strafeSpeed = 0;
        } else if (frmMain.strafeSpeed > 0) {
            frmMain.strafeSpeed -= 0.2 * sd;
        } else {
            frmMain.strafeSpeed += 0.2 * sd;
        }
    }

    // Speed limit.
    if (ship.xAccel > kMaxSpeed) {
        ship.xAccel = kMaxSpeed;
    }
    if (ship.yAccel > kMaxSpeed) {
        ship.yAccel = kMaxSpeed;
    }
    if (ship.xAccel < -kMaxSpeed) {
        ship.xAccel = -kMaxSpeed;
    }
    if (ship.yAccel < -kMaxSpeed) {
        ship.yAccel = -kMaxSpeed;
    }

    // Friction, decided on the forward speed and applied to both components; a ship within
    // one step of rest stops dead.
    const double friction = 0.1 * sd;
    const double forward = ship.xAccel;
    if (forward >= -friction && forward <= friction) {
        ship.xAccel = 0;
        ship.yAccel = 0;
    } else if (forward > friction) {
        ship.xAccel = static_cast<float>(ship.xAccel - friction);
        ship.yAccel = static_cast<float>(ship.yAccel - friction);
        frmMain.enginePhase = 3.14;
    } else {
        ship.xAccel = static_cast<float>(ship.xAccel + friction);
        ship.yAccel = static_cast<float>(ship.yAccel + friction);
        frmMain.enginePhase = 3.14;
    }

    // Slow decay every 100 ms: each speed moves towards 0 by a whole step, and may cross it.
    const platform::Tick now = platform::GetTickCount();
    if (frmMain.lastDecayTick + 100 < now) {
        frmMain.lastDecayTick = now;
        for (float* speed : {&ship.xAccel, &ship.yAccel}) {
            if (*speed < 0) {
                *speed += s;
            } else if (*speed > 0) {
                *speed -= s;
            }
        }
    }

    // The world wraps; a position of exactly 5120 stays.
    if (shipX > kWorldSize) {
        shipX -= kWorldSize;
    }
    if (shipY > kWorldSize) {
        shipY -= kWorldSize;
    }
    if (shipX < 0) {
        shipX += kWorldSize;
    }
    if (shipY < 0) {
        shipY += kWorldSize;
    }

    // Turning; Turn Right wins the tilt when both are held.
    if (Held(kTurnLeft)) {
        ship.CarAngle += kTurnPerFrame * sd;
        frmMain.shipTilt = 1;
    }
    if (Held(kTurnRight)) {
        ship.CarAngle -= kTurnPerFrame * sd;
        frmMain.shipTilt = 2;
    }
    ship.CarAngle = WrapAngle(ship.CarAngle);
    ship.Angle = WrapAngle(ship.Angle);
    ship.Angle = ship.CarAngle;
}

}  // namespace simulation
