#include "game/effects/weapons.h"

#include <cmath>
#include <string_view>

#include "common/rounding.h"
#include "game/audio/sound.h"
#include "game/shell/game_counters.h"
#include "game/shell/rnd.h"

namespace effects {

WeaponTimers weaponTimers;

namespace {

constexpr std::int16_t kShotType = 2;
constexpr std::int16_t kPhaserType = 9;
constexpr std::int32_t kShotLifeTime = 1000;

// True, and the timer restarted, when more than interval milliseconds have passed.
bool Due(platform::Tick& lastTick, std::int32_t interval) {
    if (!(lastTick + interval < platform::GetTickCount())) {
        return false;
    }
    lastTick = platform::GetTickCount();
    return true;
}

// A shot of the player, starting at the ship's point moved by the offset.
void Launch(std::string_view name, SpawnOffset offset, double angle, double speed, std::int16_t type,
            std::int32_t damage) {
    const world::cObjRef* kind = world::records.colObjRefs.Find(name);
    if (kind == nullptr) {
        return;  // the level loader refuses levels whose objects.dat lacks a shot kind
    }
    auto shot = std::make_shared<world::cObject>();
    shot->name = std::string(name);
    shot->X = common::RoundToLong(world::records.shipX + (400.0 - kind->Width / 2.0) + offset.x);
    shot->Y = common::RoundToLong(world::records.shipY + (300.0 - kind->Height / 2.0) - 200.0 + offset.y);
    shot->xSpeed = speed;
    shot->ySpeed = 0;
    shot->oType = type;
    shot->Angle = angle;
    shot->LifeTime = kShotLifeTime;
    shot->LifeStart = platform::GetTickCount();
    shot->IsWeapon = true;
    shot->Health = damage;
    world::AddObject(std::move(shot));
}

double Heading() { return world::Ship().Angle; }

}  // namespace

SpawnOffset ShotOffset(double k1, double t1, double k2, double t2, double heading) {
    auto turned = [heading](double k, double t) {
        const double c = std::cos(t - heading);
        const double s = std::sin(t - heading);
        return SpawnOffset{common::RoundToLong(k * c - k * s), common::RoundToLong(k * s + k * c)};
    };
    const SpawnOffset first = turned(k1, t1);
    const SpawnOffset second = turned(k2, t2);
    return {first.x + second.x, first.y + second.y};
}

void FireWeapons() {
    const shell::GameCounters& c = shell::counters;
    if (c.hasPhasers) {
        FirePhaser();
    }
    FireLaser(c.hasLaserUpgrade ? 150 : 300);
    if (c.hasSideShot) {
        FireSideShots();
    }
    if (c.hasCrossShot) {
        FireCrossShots();
    }
    if (c.hasRearShot) {
        FireRearShot();
    }
}

void FireLaser(std::int32_t interval) {
    if (!Due(weaponTimers.lastLaserTick, interval)) {
        return;
    }
    // The guns take turns, gun 0 first.
    const SpawnOffset offset = weaponTimers.laserGun == 0 ? ShotOffset(3, 6.28, 15, 4.71, Heading())
                                                          : ShotOffset(3, 1.57, 15, 3.14, Heading());
    weaponTimers.laserGun = static_cast<std::int16_t>(1 - weaponTimers.laserGun);
    Launch("Laser.bmp", offset, Heading(), 20, kShotType, 10);
    audio::ReplaySound(audio::kLaserSlot);
}

void FireSideShots() {
    if (!Due(weaponTimers.lastSideTick, 750)) {
        return;
    }
    const SpawnOffset offset = ShotOffset(1, 6.28, 25, 4.71, Heading());
    Launch("Sideshot.bmp", offset, Heading() + 1.57, 10, kShotType, 10);
    Launch("Sideshot.bmp", offset, Heading() + 4.71, 10, kShotType, 10);
}

void FireCrossShots() {
    if (!Due(weaponTimers.lastCrossTick, 1000)) {
        return;
    }
    const SpawnOffset offset = ShotOffset(-15, 6.28, 15, 4.71, Heading());
    Launch("Rearshot.bmp", offset, Heading() + 1.57 / 3, 20, kShotType, 10);
    Launch("Rearshot.bmp", offset, Heading() - 1.57 / 3, 20, kShotType, 10);
}

void FireRearShot() {
    if (!Due(weaponTimers.lastRearTick, 1000)) {
        return;
    }
    Launch("Rearshot.bmp", ShotOffset(1, 6.28, 1, 4.71, Heading()), Heading(), -20, kShotType, 10);
}

void FirePhaser() {
    if (!Due(weaponTimers.lastPhaserTick, 750)) {
        return;
    }
    Launch("Sideshot.bmp", ShotOffset(7, 6.28, 1, 4.71, Heading()), Heading(), 20, kPhaserType, 30);
}

void SpawnExplosion(std::int32_t x, std::int32_t y) {
    auto blast = std::make_shared<world::cObject>();
    blast->name = "Laser.bmp";
    blast->X = x;
    blast->Y = y;
    blast->oType = 3;
    blast->LifeTime = 1000;
    blast->LifeStart = platform::GetTickCount();
    world::AddObject(std::move(blast));
}

void SpawnDebris(const world::cObject& source) {
    auto piece = std::make_shared<world::cObject>();
    piece->name = source.name;
    piece->X = source.X;
    piece->Y = source.Y;
    piece->xSpeed = 5.0f - shell::Rnd() * 10.0f;
    piece->ySpeed = 5.0f - shell::Rnd() * 10.0f;
    piece->oType = 5;
    piece->Health = 20;
    piece->Value = 100;
    world::AddObject(std::move(piece));
}

void SpawnCoin(const world::cObject& source, std::int16_t kind) {
    auto coin = std::make_shared<world::cObject>();
    coin->name = kind == 0 ? "4" : "5";
    coin->X = source.X;
    coin->Y = source.Y;
    coin->xSpeed = 3.0f - shell::Rnd() * 6.0f;
    coin->ySpeed = 3.0f - shell::Rnd() * 6.0f;
    coin->oType = 8;
    coin->Health = 20;
    coin->Value = 10;
    coin->LifeTime = 10000;
    coin->LifeStart = platform::GetTickCount();
    world::AddObject(std::move(coin));
}

}  // namespace effects
