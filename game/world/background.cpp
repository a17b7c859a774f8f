#include "game/world/background.h"

namespace world {

void InitStars() {}

void DrawStars(std::int32_t, std::int32_t) {}

void DrawTiles(std::int32_t, std::int32_t) {}

void DrawFog(std::int32_t, std::int32_t, std::string_view) {}

}  // namespace world
