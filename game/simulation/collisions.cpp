#include "game/simulation/collisions.h"

namespace simulation {

void TestCollisions(world::cObject&, const Placement&) {}

}  // namespace simulation
