#include "game/world/level_assets.h"

namespace world {

void LoadTextures() {}

void LoadExplosionFrames() {}

void LoadTiles() {}

void LoadObjectSprite(const std::string&, std::int32_t) {}

}  // namespace world
