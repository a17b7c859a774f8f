// What the game frame draws over the world: the score and money, the word labels, the ship
// with its bobbing, banking, shadow, explosion and blinking, the shield flash, the tinted fog,
// the radar with its dots, the logo, the health bar and the spare ships.
#pragma once

#include <cstdint>

#include "game/graphics/sprites.h"
#include "platform/clock.h"

namespace shell {

struct HudState {
    std::int32_t shipScreenX = 336;  // ship sprite position before its +15 column offset
    std::int32_t shipScreenY = 436;
    bool blinkOn = false;            // phase of the grace-period blink
    platform::Tick nextBlinkAt = 0;
    platform::Tick shieldUntil = 0;  // the shield shows until this tick
    platform::Tick nextShieldStepAt = 0;
    float shieldAngle = 0;           // rotation of the shield sprite
};
extern HudState hud;

// The score and money numbers.
void DrawScoreAndMoney();

// Labels, ship, shield, fog, radar, logo, health bar and spare ships, in their order.
void DrawHud();

// The three word labels beside the health bar, the score and the money.
void DrawHudLabels();

// The radar's dots: the ship, its heading, and every object that is not a shot.
void DrawRadar();

// A darkened, smaller copy of a sprite 30 pixels down and right, on the shadow levels only.
void DrawShadow(graphics::Vector2 position, std::int32_t texture, float rotation);

}  // namespace shell
