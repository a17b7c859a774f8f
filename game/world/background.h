// The layers behind the world's objects, turned with the ship: stars, tiles and fog.
#pragma once

#include <cstdint>
#include <string_view>

namespace world {

void InitStars();
void DrawStars(std::int32_t shipX, std::int32_t shipY);
void DrawTiles(std::int32_t shipX, std::int32_t shipY);
void DrawFog(std::int32_t shipX, std::int32_t shipY, std::string_view tint);

}  // namespace world
