// The counters of one game that every subsystem reads: level, ships, health, score, money, the
// weapons owned and the grace period of a new ship.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace shell {

struct GameCounters {
    std::int16_t level = 1;         // current level, 1 .. 24
    std::int16_t lives = 3;         // spare ships
    std::int32_t health = 200;      // of the current ship; 200 for a new one
    std::int32_t score = 0;
    std::int32_t money = 0;
    bool hasLaserUpgrade = false;   // the laser fires every 150 ms instead of 300
    bool hasRearShot = false;
    bool hasSideShot = false;
    bool hasCrossShot = false;
    bool hasPhasers = false;
    bool hasWeaponStay = false;     // bought weapons survive a lost ship
    bool invulnerable = false;      // grace period of a new ship
    platform::Tick invulnerableUntil = 0;
    bool shipHit = false;           // a hazard hit the ship in this frame's world pass
};
extern GameCounters counters;

}  // namespace shell
