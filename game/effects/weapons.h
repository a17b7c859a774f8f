// The player's weapons, each firing at its own interval while the fire key is held, and the
// spawners of explosions, debris and coins that kills leave behind.
#pragma once

#include <cstdint>

#include "game/world/records.h"
#include "platform/clock.h"

namespace effects {

struct WeaponTimers {
    platform::Tick lastLaserTick = 0;   // last laser shot
    std::int16_t laserGun = 0;          // which of the two guns fires next
    platform::Tick lastSideTick = 0;
    platform::Tick lastCrossTick = 0;
    platform::Tick lastRearTick = 0;
    platform::Tick lastPhaserTick = 0;
};
extern WeaponTimers weaponTimers;

// Fires every weapon the player owns, in the order phaser, laser, side, cross, rear.
void FireWeapons();

void FireLaser(std::int32_t interval);
void FireSideShots();
void FireCrossShots();
void FireRearShot();
void FirePhaser();

// The offset from the ship's point at which a shot starts: the sum of the two vectors (k, k)
// turned by t - heading, each component rounded.
struct SpawnOffset {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
SpawnOffset ShotOffset(double k1, double t1, double k2, double t2, double heading);

// An explosion centred on a world point; a piece of a broken rock; a dropped coin.
void SpawnExplosion(std::int32_t x, std::int32_t y);
void SpawnDebris(const world::cObject& source);
void SpawnCoin(const world::cObject& source, std::int16_t kind);

}  // namespace effects
