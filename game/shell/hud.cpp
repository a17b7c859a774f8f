#include "game/shell/hud.h"

#include "game/shell/game_counters.h"
#include "game/simulation/behaviour.h"

namespace shell {

void DrawShadow(graphics::Vector2 position, std::int32_t texture, float rotation) {
    if (!simulation::IsShadowLevel(counters.level)) {
        return;
    }
    graphics::BeginSprites();
    graphics::DrawSpriteScaled(texture, {position.x + 30, position.y + 30}, rotation, true, "99", 3,
                               0.7f, 0.7f, "");
    graphics::EndSprites();
}

void DrawScoreAndMoney() {}

void DrawHud() {}

}  // namespace shell
