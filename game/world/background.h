// The layers behind the world's objects, all turned with the ship about its point: the star
// field, the level's tile map and, on some levels, a tinted fog. Every layer wraps at the
// world's edges so that the map repeats seamlessly around a ship near one.
#pragma once

#include <cstdint>
#include <string_view>

namespace world {

// Places the 1000 stars (the same field on every run) and loads the star bitmap.
void InitStars();
void DrawStars(std::int32_t shipX, std::int32_t shipY);
void DrawTiles(std::int32_t shipX, std::int32_t shipY);
void DrawFog(std::int32_t shipX, std::int32_t shipY, std::string_view tint);

}  // namespace world
