// The sprite renderer: pooled textures drawn as screen-space quads, scaled, rotated about a
// centre and moved, tinted by a colour, filtered and blended by the device's current states.
// Sprites are unlit and ignore the depth buffer. A texel whose alpha ends up 0 is dropped (an
// alpha test against 0), so a colour-keyed sprite never paints black even with blending off.
#pragma once

#include <cstdint>

#include "platform/rect.h"
#include "platform/texture.h"

namespace platform {

struct SpriteDraw {
    TextureId texture = 0;
    bool useSourceRect = false;  // false: the whole texture
    Rect sourceRect;             // texels, right and bottom exclusive
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float centreX = 0.0f;  // rotation centre, measured from the scaled sprite's top-left corner
    float centreY = 0.0f;
    // Radians; a positive angle turns the picture counter-clockwise as seen on the screen.
    float rotation = 0.0f;
    float x = 0.0f;  // where the scaled, unrotated sprite's top-left corner goes
    float y = 0.0f;
    std::uint32_t colour = 0xFFFFFFFFu;  // A8R8G8B8 multiplied into every texel
};

struct SpriteBatchState {
    bool begun = false;                // between SpriteBegin and SpriteEnd
    std::uint64_t spritesDrawn = 0;    // sprites that reached the rasteriser (statistics)
};
extern SpriteBatchState spriteBatch;

// Opens a batch: alpha blending on, source alpha over inverse source alpha. These states stay
// as they are left: ending a batch restores nothing.
std::int32_t SpriteBegin();
// Draws one sprite with the blend, filter and texture states in force. A missing texture, a
// zero or non-finite scale or position, or a source rectangle with no area draws nothing.
std::int32_t SpriteDrawQuad(const SpriteDraw& draw);
std::int32_t SpriteEnd();

}  // namespace platform
