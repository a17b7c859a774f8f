// The sprites a piece of drawing asked for, recorded through the sprite layer's test seam for
// as long as the log lives.
#pragma once

#include <cstdint>
#include <vector>

#include "game/graphics/sprites.h"

namespace test_support {

class SpriteLog {
public:
    SpriteLog() { graphics::sprite_testing::RecordDraws(&draws_); }
    ~SpriteLog() { graphics::sprite_testing::RecordDraws(nullptr); }
    SpriteLog(const SpriteLog&) = delete;
    SpriteLog& operator=(const SpriteLog&) = delete;

    // The draws of one pool texture, in order.
    std::vector<graphics::sprite_testing::DrawnSprite> Of(std::int32_t texIndex) const {
        std::vector<graphics::sprite_testing::DrawnSprite> found;
        for (const auto& draw : draws_) {
            if (draw.texIndex == texIndex) {
                found.push_back(draw);
            }
        }
        return found;
    }
    const std::vector<graphics::sprite_testing::DrawnSprite>& All() const { return draws_; }
    void Clear() { draws_.clear(); }

private:
    std::vector<graphics::sprite_testing::DrawnSprite> draws_;
};

}  // namespace test_support
