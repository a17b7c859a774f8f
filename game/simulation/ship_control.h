// The held keys turned into the ship's motion, its weapons' fire and the quit request.
#pragma once

namespace simulation {

void HandleKeys();

}  // namespace simulation
