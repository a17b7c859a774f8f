// Hits between the player's shots and the world, and between the world and the ship: damage,
// kills, score, money, explosions, debris, coins, bursts and sounds.
#pragma once

#include "game/simulation/world_pass.h"
#include "game/world/records.h"

namespace simulation {

// The collision test of one object at the end of its turn.
void TestCollisions(world::cObject& object, const Placement& placement);

}  // namespace simulation
