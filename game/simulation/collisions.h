// Hits between the player's shots and the world, and between the world and the ship: damage,
// kills, score, money, explosions, debris, coins, bursts and sounds. Boxes are axis-aligned;
// boxes that only share an edge do not hit.
#pragma once

#include "game/simulation/world_pass.h"
#include "game/world/records.h"

namespace simulation {

// The ship's box (shipX, shipY) .. (+128, +128) against the object's box placed by its
// display-wrapped position, both in view terms.
bool ShipHitTest(std::int32_t shipX, std::int32_t shipY, const Placement& object);

// The first object in the world whose own box overlaps the shot's, that is not an explosion
// and not a shot of the player (stored positions: shots do not hit across the world's seam).
world::ObjectHandle ShotHitTest(const world::cObject& shot);

// The collision test of one object at the end of its turn.
void TestCollisions(world::cObject& object, const Placement& placement);

}  // namespace simulation
