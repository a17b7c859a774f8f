// What the game frame draws over the world: the numbers, the ship, the shield, the fog, the
// radar, the logo, the health bar and the spare ships.
#pragma once

namespace shell {

// The score and money numbers.
void DrawScoreAndMoney();

// Labels, ship, shield, fog, radar, logo, health bar and spare ships, in their order.
void DrawHud();

}  // namespace shell
