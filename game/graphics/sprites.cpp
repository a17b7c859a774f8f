#include "game/graphics/sprites.h"

namespace graphics {

SpriteState sprites;

std::int32_t LoadTextureIntoPool(const std::string& /*fileName*/, std::uint32_t /*colourKey*/) {
    return -1;
}

void ReleaseTextures() { sprites.texturePool.resize(1); }

void ClearTexturePool() { sprites.texturePool.resize(1); }

void ResetSpriteRenderer() {}

void BeginSprites() {}

void EndSprites() {}

void DrawSprite(std::int32_t, Vector2, float, bool, std::string_view, std::int16_t, std::string_view) {}

void DrawSpriteRect(std::int32_t, Vector2, float, bool, std::string_view, std::int16_t,
                    const platform::Rect&, float, float, std::string_view) {}

void DrawSpriteScaled(std::int32_t, Vector2, float, bool, std::string_view, std::int16_t, float,
                      float, std::string_view) {}

}  // namespace graphics
