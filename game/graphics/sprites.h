// The texture pool and sprite drawing: every 2-D picture of the game is a pooled texture drawn
// rotated, scaled and tinted in a sprite batch with one of four blend modes.
//
// Blend modes are device states, and a mode sets only some of them: what it leaves alone stays
// as the previous draw or the batch's begin left it (source alpha, inverse source alpha, on).
//
//   mode  DrawSprite, DrawSpriteScaled          DrawSpriteRect
//   0     blending off                          blending off
//   1     dest := one; on                       source := one, dest := one; on
//   2     source := source colour, dest := destination colour; on (both tables)
//   3     source := zero; on                    source := zero, dest := zero; on
//   other nothing changes                       nothing changes
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rect.h"
#include "platform/texture.h"

namespace graphics {

struct Vector2 {
    float x = 0;
    float y = 0;
};

struct TextureSlot {
    platform::TextureId texture = 0;  // device texture handle; 0 for none
    float HalfWidth = 0;              // of the created texture (after size rounding)
    float HalfHeight = 0;
    bool InUse = false;
    std::string fileName;         // what was loaded, so loading it again reuses the slot
    std::uint32_t colourKey = 0;  // the key it was loaded with
};

// The device states one blend mode sets; -1 leaves a state as it is.
struct BlendModeStates {
    std::int64_t srcBlend = -1;
    std::int64_t destBlend = -1;
    std::int64_t blendEnable = -1;
};
using BlendModeTable = std::array<BlendModeStates, 4>;

struct SpriteState {
    std::vector<TextureSlot> texturePool = std::vector<TextureSlot>(1);  // slot 0 never used
    float spriteScaleX = 0.8f;  // scale of draws that use the global scale
    float spriteScaleY = 0.6f;
};
extern SpriteState sprites;

// The scale of the draws that use the global scale: 0.8 x 0.6 for the shop's pictures, 0.75
// for play.
void SetSpriteScale(float x, float y);

// The two tables of modes 0 to 3 (see the top of this file).
extern const BlendModeTable kSpriteBlendModes;  // DrawSprite and DrawSpriteScaled
extern const BlendModeTable kRectBlendModes;    // DrawSpriteRect

// Loads a bitmap (full path) with a colour key (0: none) into the first free slot; the pool
// index, or -1 on failure (the slot stays free). Loading a file already in the pool with the
// same key gives its slot again, so reloading a level's pictures does not grow the pool.
std::int32_t LoadTextureIntoPool(const std::string& fileName, std::uint32_t colourKey);
void ReleaseTextures();
void ClearTexturePool();

// A new sprite renderer (device creation and reset).
void ResetSpriteRenderer();

void BeginSprites();
void EndSprites();
// Draws a pooled texture with its top-left corner at position after scaling, turned by
// rotation radians (counter-clockwise on screen) about its centre. An index outside the pool
// (such as -1, a failed load) draws nothing and changes nothing; an empty slot sets the mode's
// states but draws nothing. An empty colour is "FFFFFF"; alpha and colour are hexadecimal.
void DrawSprite(std::int32_t texIndex, Vector2 position, float rotation, bool useGlobalScale,
                std::string_view alpha, std::int16_t blendMode, std::string_view colour);
// As DrawSprite with a source rectangle in texels (right and bottom exclusive) and, when
// useScale is set, its own scale; the rotation centre still comes from the whole texture.
void DrawSpriteRect(std::int32_t texIndex, Vector2 position, float rotation, bool useScale,
                    std::string_view alpha, std::int16_t blendMode, const platform::Rect& sourceRect,
                    float scaleX, float scaleY, std::string_view colour);
// As DrawSpriteRect with the whole texture and DrawSprite's blend modes.
void DrawSpriteScaled(std::int32_t texIndex, Vector2 position, float rotation, bool useScale,
                      std::string_view alpha, std::int16_t blendMode, float scaleX, float scaleY,
                      std::string_view colour);

// Draws the particle picture at a world point of the turning view: the world is seen from the
// pivot at world point (viewX + 396, viewY + 96), shown at screen point (396, 496), turned by
// the ship's heading; the picture itself is not turned, and is added with blend mode 1.
void DrawParticle(std::int32_t viewX, std::int32_t viewY, std::int32_t worldX, std::int32_t worldY);

}  // namespace graphics
