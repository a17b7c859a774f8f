#include "game/graphics/sprites.h"

#include <cmath>
#include <cstdio>

#include "game/graphics/fonts.h"
#include "platform/device.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "platform/sprite_batch.h"

namespace graphics {

SpriteState sprites;

const BlendModeTable kSpriteBlendModes = {{
    {-1, -1, 0},
    {-1, platform::kBlendOne, 1},
    {platform::kBlendSrcColor, platform::kBlendDestColor, 1},
    {platform::kBlendZero, -1, 1},
}};

const BlendModeTable kRectBlendModes = {{
    {-1, -1, 0},
    {platform::kBlendOne, platform::kBlendOne, 1},
    {platform::kBlendSrcColor, platform::kBlendDestColor, 1},
    {platform::kBlendZero, platform::kBlendZero, 1},
}};

namespace {

void ApplyBlendMode(const BlendModeTable& table, std::int16_t mode) {
    if (mode < 0 || mode >= static_cast<std::int16_t>(table.size())) {
        return;
    }
    const BlendModeStates& states = table[static_cast<std::size_t>(mode)];
    if (states.srcBlend >= 0) {
        platform::SetRenderState(platform::kRsSrcBlend, static_cast<std::uint32_t>(states.srcBlend));
    }
    if (states.destBlend >= 0) {
        platform::SetRenderState(platform::kRsDestBlend, static_cast<std::uint32_t>(states.destBlend));
    }
    if (states.blendEnable >= 0) {
        platform::SetRenderState(platform::kRsAlphaBlendEnable, static_cast<std::uint32_t>(states.blendEnable));
    }
}

const TextureSlot* SlotAt(std::int32_t texIndex) {
    if (texIndex < 1 || static_cast<std::size_t>(texIndex) >= sprites.texturePool.size()) {
        return nullptr;
    }
    return &sprites.texturePool[static_cast<std::size_t>(texIndex)];
}

// The common tail of the three draws: blend states, tint, then the renderer.
void DrawSlot(const TextureSlot& slot, const BlendModeTable& modes, Vector2 position, float rotation,
              Vector2 scale, std::string_view alpha, std::int16_t blendMode, std::string_view colour,
              const platform::Rect* sourceRect) {
    ApplyBlendMode(modes, blendMode);
    const std::uint32_t tint = HexColour(alpha, colour.empty() ? std::string_view("FFFFFF") : colour);
    if (!slot.InUse) {
        return;
    }
    platform::SpriteDraw draw;
    draw.texture = slot.texture;
    if (sourceRect != nullptr) {
        draw.useSourceRect = true;
        draw.sourceRect = *sourceRect;
    }
    draw.scaleX = scale.x;
    draw.scaleY = scale.y;
    draw.centreX = scale.x * slot.HalfWidth;
    draw.centreY = scale.y * slot.HalfHeight;
    draw.rotation = rotation;
    draw.x = position.x;
    draw.y = position.y;
    draw.colour = tint;
    platform::SpriteDrawQuad(draw);
}

}  // namespace

std::int32_t LoadTextureIntoPool(const std::string& fileName, std::uint32_t colourKey) {
    auto& pool = sprites.texturePool;
    for (std::size_t i = 1; i < pool.size(); ++i) {
        if (pool[i].InUse && pool[i].fileName == fileName && pool[i].colourKey == colourKey) {
            return static_cast<std::int32_t>(i);
        }
    }
    std::size_t slot = 1;
    while (slot < pool.size() && pool[slot].InUse) {
        ++slot;
    }
    if (slot == pool.size()) {
        pool.emplace_back();
    }
    platform::TextureLoadOptions options;
    options.colourKey = colourKey;
    std::string error;
    const platform::TextureId texture = platform::CreateTextureFromFile(fileName, options, &error);
    const platform::Texture* created = platform::GetTexture(texture);
    if (created == nullptr) {
        std::fprintf(stderr, "textures: %s\n", error.c_str());
        return -1;
    }
    TextureSlot& s = pool[slot];
    s.texture = texture;
    s.HalfWidth = static_cast<float>(created->width) / 2.0f;
    s.HalfHeight = static_cast<float>(created->height) / 2.0f;
    s.InUse = true;
    s.fileName = fileName;
    s.colourKey = colourKey;
    return static_cast<std::int32_t>(slot);
}

void ReleaseTextures() {
    for (std::size_t i = 1; i < sprites.texturePool.size(); ++i) {
        platform::ReleaseTexture(sprites.texturePool[i].texture);
    }
    sprites.texturePool.assign(1, TextureSlot{});
}

void ClearTexturePool() { ReleaseTextures(); }

void SetSpriteScale(float x, float y) {
    sprites.spriteScaleX = x;
    sprites.spriteScaleY = y;
}

void ResetSpriteRenderer() { platform::spriteBatch = platform::SpriteBatchState{}; }

void BeginSprites() { platform::SpriteBegin(); }

void EndSprites() { platform::SpriteEnd(); }

void DrawSprite(std::int32_t texIndex, Vector2 position, float rotation, bool useGlobalScale,
                std::string_view alpha, std::int16_t blendMode, std::string_view colour) {
    const TextureSlot* slot = SlotAt(texIndex);
    if (slot == nullptr) {
        return;
    }
    const Vector2 scale = useGlobalScale ? Vector2{sprites.spriteScaleX, sprites.spriteScaleY} : Vector2{1.0f, 1.0f};
    DrawSlot(*slot, kSpriteBlendModes, position, rotation, scale, alpha, blendMode, colour, nullptr);
}

void DrawSpriteRect(std::int32_t texIndex, Vector2 position, float rotation, bool useScale,
                    std::string_view alpha, std::int16_t blendMode, const platform::Rect& sourceRect,
                    float scaleX, float scaleY, std::string_view colour) {
    const TextureSlot* slot = SlotAt(texIndex);
    if (slot == nullptr) {
        return;
    }
    const Vector2 scale = useScale ? Vector2{scaleX, scaleY} : Vector2{1.0f, 1.0f};
    DrawSlot(*slot, kRectBlendModes, position, rotation, scale, alpha, blendMode, colour, &sourceRect);
}

void DrawSpriteScaled(std::int32_t texIndex, Vector2 position, float rotation, bool useScale,
                      std::string_view alpha, std::int16_t blendMode, float scaleX, float scaleY,
                      std::string_view colour) {
    const TextureSlot* slot = SlotAt(texIndex);
    if (slot == nullptr) {
        return;
    }
    const Vector2 scale = useScale ? Vector2{scaleX, scaleY} : Vector2{1.0f, 1.0f};
    DrawSlot(*slot, kSpriteBlendModes, position, rotation, scale, alpha, blendMode, colour, nullptr);
}

void DrawParticle(std::int32_t viewX, std::int32_t viewY, std::int32_t worldX, std::int32_t worldY) {
    const auto& ship = world::records.cars[0];
    const double a = ship ? ship->Angle : 0.0;
    // Offsets in 64 bits: world points far apart must not overflow.
    const auto dx = static_cast<double>(static_cast<std::int64_t>(worldX) - viewX - 396);
    const auto dy = static_cast<double>(static_cast<std::int64_t>(worldY) - viewY - 96);
    const auto sx = static_cast<float>(396.0 + (dx * std::cos(a) - dy * std::sin(a)));
    const auto sy = static_cast<float>(496.0 + (dy * std::cos(a) + dx * std::sin(a)));
    DrawSprite(world::assets.particleTexture, Vector2{sx, sy}, 0.0f, true, "FF", 1, "FFFFFF");
}

}  // namespace graphics
