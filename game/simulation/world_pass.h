// The per-frame pass over the world's objects: place each in the rotating view, let it act,
// wrap it, test its collisions, and remove at most one finished object.
#pragma once

#include <cstdint>

namespace simulation {

void UpdateWorldObjects(std::int32_t& shipX, std::int32_t& shipY);

}  // namespace simulation
