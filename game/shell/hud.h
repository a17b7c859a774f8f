// What the game frame draws over the world: the numbers, the ship, the shield, the fog, the
// radar, the logo, the health bar and the spare ships.
#pragma once

#include <cstdint>

#include "game/graphics/sprites.h"

namespace shell {

// A darkened, smaller copy of a sprite 30 pixels down and right, on the shadow levels only.
void DrawShadow(graphics::Vector2 position, std::int32_t texture, float rotation);

// The score and money numbers.
void DrawScoreAndMoney();

// Labels, ship, shield, fog, radar, logo, health bar and spare ships, in their order.
void DrawHud();

}  // namespace shell
