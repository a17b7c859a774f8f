#include "game/simulation/world_pass.h"

namespace simulation {

void UpdateWorldObjects(std::int32_t&, std::int32_t&) {}

}  // namespace simulation
