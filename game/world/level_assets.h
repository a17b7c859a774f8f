// The game's bitmaps: the fixed set, the explosion frames, the tiles and the object sprites.
#pragma once

#include <cstdint>
#include <string>

namespace world {

void LoadTextures();
void LoadExplosionFrames();
void LoadTiles();
void LoadObjectSprite(const std::string& name, std::int32_t index);

}  // namespace world
