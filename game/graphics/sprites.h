// The texture pool and sprite drawing: every 2-D picture of the game is a pooled texture drawn
// rotated, scaled and tinted in a sprite batch with one of four blend modes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rect.h"

namespace graphics {

struct Vector2 {
    float x = 0;
    float y = 0;
};

struct TextureSlot {
    int texture = 0;        // device texture handle; 0 for none
    float HalfWidth = 0;    // of the created texture (after size rounding)
    float HalfHeight = 0;
    bool InUse = false;
};

struct SpriteState {
    std::vector<TextureSlot> texturePool = std::vector<TextureSlot>(1);  // slot 0 never used
    float spriteScaleX = 0.8f;  // scale of draws that use the global scale
    float spriteScaleY = 0.6f;
};
extern SpriteState sprites;

// Loads a bitmap (full path) with a colour key (0: none); the pool index, or -1 on failure.
std::int32_t LoadTextureIntoPool(const std::string& fileName, std::uint32_t colourKey);
void ReleaseTextures();
void ClearTexturePool();

// A new sprite renderer (device creation and reset).
void ResetSpriteRenderer();

void BeginSprites();
void EndSprites();
void DrawSprite(std::int32_t texIndex, Vector2 position, float rotation, bool useGlobalScale,
                std::string_view alpha, std::int16_t blendMode, std::string_view colour);
void DrawSpriteRect(std::int32_t texIndex, Vector2 position, float rotation, bool useScale,
                    std::string_view alpha, std::int16_t blendMode, const platform::Rect& sourceRect,
                    float scaleX, float scaleY, std::string_view colour);
void DrawSpriteScaled(std::int32_t texIndex, Vector2 position, float rotation, bool useScale,
                      std::string_view alpha, std::int16_t blendMode, float scaleX, float scaleY,
                      std::string_view colour);

}  // namespace graphics
