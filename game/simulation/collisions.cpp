#include "game/simulation/collisions.h"

#include "common/rounding.h"
#include "common/saturating.h"
#include "game/audio/sound.h"
#include "game/effects/particles.h"
#include "game/effects/weapons.h"
#include "game/shell/game_counters.h"
#include "game/simulation/behaviour.h"
#include "platform/rect.h"

namespace simulation {

namespace {

// Box edges stop at the 32-bit limits: a level file may place an object next to them.
platform::Rect BoxAt(std::int32_t x, std::int32_t y, const world::cObjRef& kind) {
    return {x, y, common::SaturatingAdd(x, kind.Width), common::SaturatingAdd(y, kind.Height)};
}

int CoinsDropped(std::int16_t type) {
    switch (type) {
        case kEnemy:
        case kEnemyTwo:
        case kMine: return 5;
        case kRockPiece:
        case kMeshObject: return 1;
        case kBoss: return 25;
        default: return 0;
    }
}

void ShotHits(world::cObject& shot) {
    const world::ObjectHandle target = ShotHitTest(shot);
    if (!target || target->oType == kCoin) {
        return;  // coins do not stop shots
    }
    shot.Dead = true;
    target->Health = common::SaturatingSubtract(target->Health, shot.Health);
    const world::cObjRef* kind = world::records.colObjRefs.Find(target->name);
    const std::int32_t halfW = kind ? common::RoundToLong(kind->Width / 2.0) : 0;
    const std::int32_t halfH = kind ? common::RoundToLong(kind->Height / 2.0) : 0;
    const std::int32_t cx = common::SaturatingAdd(target->X, halfW);
    const std::int32_t cy = common::SaturatingAdd(target->Y, halfH);
    if (target->Health < 1 && !target->Dead) {
        shell::counters.score = common::SaturatingAdd(shell::counters.score, target->Value);
        target->Dead = true;
        if (target->oType == kLargeRock) {
            for (int i = 0; i < 5; ++i) {
                effects::SpawnDebris(*target);
            }
        }
        effects::SpawnExplosion(cx, cy);
        audio::PlayEffect("Explode.wav", audio::kExplosionSlot);
        for (int i = CoinsDropped(target->oType); i > 0; --i) {
            effects::SpawnCoin(*target, 0);
        }
    }
    // Every hit bursts red sparks out of the target's centre.
    effects::cParticle& burst = effects::particles;
    burst.Gravity = 0.15f;
    burst.nParticles = 10;
    burst.XVariation = 15;
    burst.YVariation = 10;
    burst.Wind = 0;
    burst.LifeTime = 30;
    burst.InitParticleEngine(1.0f, 0, 0, static_cast<std::int16_t>(cx), static_cast<std::int16_t>(cy));
    burst.Active = true;
}

void ShipTouches(world::cObject& o, const Placement& p) {
    shell::GameCounters& c = shell::counters;
    if (o.oType != kCoin && !c.invulnerable) {
        // A hazard: it hurts the ship, pays its value and, unless it is the boss, is used up.
        c.shipHit = true;
        if (o.oType != kBoss) {
            o.Dead = true;
        }
        c.health = common::SaturatingSubtract(c.health, o.Health);
        if (c.health < 0) {
            c.health = 0;
        }
        c.score = common::SaturatingAdd(c.score, o.Value);
        effects::SpawnExplosion(common::RoundToLong(o.X + p.width / 2.0),
                                common::RoundToLong(o.Y + p.height / 2.0));
        audio::PlayEffect("Explode.wav", audio::kExplosionSlot);
    } else if (!o.Dead && !c.invulnerable) {
        // A coin: collected once.
        o.Dead = true;
        c.money = common::SaturatingAdd(c.money, 10);
        audio::PlayEffect("Coin.wav", audio::kCoinSlot);
    }
}

}  // namespace

bool ShipHitTest(std::int32_t shipX, std::int32_t shipY, const Placement& p) {
    const platform::Rect ship{shipX, shipY, shipX + 128, shipY + 128};
    platform::Rect object;
    object.left = common::RoundToLong(p.dispX - (400.0 - p.width / 2.0));
    object.top = common::RoundToLong(p.dispY - (300.0 - p.height / 2.0) + 200.0);
    object.right = common::SaturatingAdd(object.left, p.width);
    object.bottom = common::SaturatingAdd(object.top, p.height);
    return platform::IntersectRect(nullptr, ship, object);
}

world::ObjectHandle ShotHitTest(const world::cObject& shot) {
    const world::cObjRef* shotKind = world::records.colObjRefs.Find(shot.name);
    if (shotKind == nullptr) {
        return nullptr;
    }
    const platform::Rect shotBox = BoxAt(shot.X, shot.Y, *shotKind);
    for (const world::ObjectHandle& candidate : world::records.colObjects) {
        const world::cObjRef* kind = world::records.colObjRefs.Find(candidate->name);
        if (kind == nullptr || candidate->oType == kExplosion || candidate->IsWeapon) {
            continue;
        }
        if (platform::IntersectRect(nullptr, shotBox, BoxAt(candidate->X, candidate->Y, *kind))) {
            return candidate;
        }
    }
    return nullptr;
}

void TestCollisions(world::cObject& o, const Placement& p) {
    if (o.IsWeapon) {
        ShotHits(o);
    } else if (o.oType != kExplosion &&
               ShipHitTest(world::records.shipX, world::records.shipY, p)) {
        ShipTouches(o, p);
    }
}

}  // namespace simulation
