#include "game/simulation/world_pass.h"

#include <cmath>
#include <cstdio>

#include "common/level_files.h"
#include "common/rounding.h"
#include "game/shell/game_counters.h"
#include "game/shell/mod_timer.h"
#include "game/simulation/behaviour.h"
#include "game/simulation/collisions.h"
#include "platform/clock.h"

namespace simulation {

using common::kWorldSize;

WorldPassState worldPass;

void DisplayWrap(std::int32_t shipX, std::int32_t shipY, std::int32_t& x, std::int32_t& y) {
    if (shipY < 512 && y >= 4609) {
        y -= kWorldSize;
    }
    if (shipX < 768 && x >= 4353) {
        x -= kWorldSize;
    }
    if (shipY >= 4609 && y < 512) {
        y += kWorldSize;
    }
    if (shipX >= 4353 && x < 768) {
        x += kWorldSize;
    }
}

void PlaceOnScreen(std::int32_t shipX, std::int32_t shipY, double heading, Placement& p) {
    const double halfW = p.width / 2.0;
    const double halfH = p.height / 2.0;
    // The box's centre relative to the ship's point, in whole pixels. The difference is taken
    // in floating point: a position read from a level file may lie near the 32-bit limits.
    const std::int32_t relX =
        common::RoundToLong(static_cast<double>(p.dispX) - shipX - (400.0 - halfW));
    const std::int32_t relY =
        common::RoundToLong(static_cast<double>(p.dispY) - shipY - (300.0 - halfH) + 200.0);
    const float rx = static_cast<float>(relX * std::cos(heading) - relY * std::sin(heading));
    const float ry = static_cast<float>(relX * std::sin(heading) + relY * std::cos(heading));
    p.sx = static_cast<float>(rx + (400.0 - halfW));
    p.sy = static_cast<float>(ry + (300.0 - halfH) + 200.0);
}

void WrapPosition(world::cObject& object) {
    if (object.X < 0) {
        object.X += kWorldSize;
    }
    if (object.X > kWorldSize) {
        object.X -= kWorldSize;
    }
    if (object.Y < 0) {
        object.Y += kWorldSize;
    }
    if (object.Y > kWorldSize) {
        object.Y -= kWorldSize;
    }
}

bool RemoveOneFinishedObject() {
    auto& objects = world::records.colObjects;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        world::cObject& o = *objects[i];
        if (o.LifeTime > 0 || o.Dead) {
            if (o.LifeStart + o.LifeTime < platform::GetTickCount()) {
                o.Dead = true;
                objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
            if (o.Dead) {
                objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
    }
    return false;
}

void UpdateWorldObjects(std::int32_t& shipX, std::int32_t& shipY) {
    const float frameScale = shell::frameTimer.frameScale;
    worldPass.meshSpin += frameScale + frameScale;
    if (worldPass.meshSpin >= 360) {
        worldPass.meshSpin -= 360;
    }
    shell::counters.shipHit = false;
    BeginBehaviourPass();

    auto& objects = world::records.colObjects;
    // By index: behaviours and collisions append new objects while the pass runs, and those
    // take their turn in the same pass.
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const world::ObjectHandle object = objects[i];
        const world::cObjRef* kind = world::records.colObjRefs.Find(object->name);
        if (kind == nullptr) {
            // Kinds are checked when the level loads; an unknown one here is skipped, not fatal.
            continue;
        }
        Placement placement;
        placement.width = kind->Width;
        placement.height = kind->Height;
        placement.refNum = kind->refNum;
        placement.dispX = object->X;
        placement.dispY = object->Y;
        DisplayWrap(shipX, shipY, placement.dispX, placement.dispY);
        PlaceOnScreen(shipX, shipY, world::Ship().Angle, placement);

        RunBehaviour(*object, placement);
        WrapPosition(*object);

        if (shell::counters.invulnerable &&
            shell::counters.invulnerableUntil < platform::GetTickCount()) {
            shell::counters.invulnerable = false;
        }
        TestCollisions(*object, placement);
    }
    RemoveOneFinishedObject();
}

}  // namespace simulation
