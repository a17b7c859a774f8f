// What each type of object does in its turn of the world pass: how it is drawn (a turned
// sprite, a spinning mesh, an explosion, a stretched beam), how it moves, and for enemies how
// they steer and when they fire.
#pragma once

#include "game/simulation/world_pass.h"
#include "game/world/records.h"

namespace simulation {

// Type codes of objects.
enum ObjectType : std::int16_t {
    kLargeRock = 1,
    kShot = 2,
    kExplosion = 3,
    kEnemy = 4,
    kRockPiece = 5,
    kMeshObject = 6,
    kEnemyTwo = 7,
    kCoin = 8,
    kPhaserBeam = 9,
    kMine = 10,
    kBoss = 12,
};

struct BehaviourState {
    double bearing = 0;  // the last bearing an enemy computed in this pass
};
extern BehaviourState behaviour;

// Called once at the start of every pass.
void BeginBehaviourPass();

// The object's behaviour for this frame, by its oType.
void RunBehaviour(world::cObject& object, const Placement& placement);

// The bearing from an enemy at (x, y) to the ship's point (tx, ty), in the game's angle
// convention. When the two points coincide the arcsine is skipped and the half-turn of the
// bearing towards +X still applies to the last one: 3.14 - lastBearing.
double Bearing(std::int32_t x, std::int32_t y, std::int32_t tx, std::int32_t ty, double lastBearing);

// True on the levels whose objects cast shadows (4, 5, 6, 18, 19).
bool IsShadowLevel(int level);

}  // namespace simulation
