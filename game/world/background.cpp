#include "game/world/background.h"

#include <cmath>

#include "common/rounding.h"
#include "game/graphics/sprites.h"
#include "game/shell/rnd.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "platform/app.h"

namespace world {

namespace {

// The world offset (dx, dy) from the ship's point turned by the heading a.
struct Turned {
    float x;
    float y;
};
Turned Turn(double dx, double dy, double a) {
    const double c = std::cos(a);
    const double s = std::sin(a);
    return {static_cast<float>(dx * c - dy * s), static_cast<float>(dx * s + dy * c)};
}

constexpr std::string_view kStarColours[5] = {"", "AAAAFF", "FFFFAA", "FFAAAA", "FFAAAA"};

}  // namespace

void InitStars() {
    for (int i = 0; i < kStarCount; ++i) {
        cStar& star = records.stars[static_cast<std::size_t>(i)];
        // The products are single precision, as the generator's numbers are.
        const float spreadX = shell::Rnd() * 256.0f * 20.0f;
        star.X = common::RoundToLong(spreadX + (800.0 / 2.0 - 2.0));
        const float spreadY = shell::Rnd() * 5120.0f;
        star.Y = common::RoundToLong(spreadY + (600.0 / 2.0 - 2.0) - 200.0);
        star.starType = common::RoundToInteger(shell::Rnd() * 4.0f);
    }
    assets.starTexture = graphics::LoadTextureIntoPool(
        (platform::DataFolder() / "Star.bmp").string(), kKeyNone);
}

void DrawStars(std::int32_t shipX, std::int32_t shipY) {
    const double a = Ship().Angle;
    const float rotation = static_cast<float>(6.28 - a);
    for (int i = 0; i < kStarCount; ++i) {
        const cStar& star = records.stars[static_cast<std::size_t>(i)];
        std::int32_t x = star.X;
        std::int32_t y = star.Y;
        if (shipY < 512 && y > 4608) {
            y -= 5120;
        }
        if (shipX < 768 && x > 4352) {
            x -= 5120;
        }
        if (shipY > 4608 && y < 512) {
            y += 5120;
        }
        if (shipX > 4352 && x < 768) {
            x += 5120;
        }
        const Turned r = Turn(x - shipX - 396, y - shipY - 96, a);
        const float sx = r.x + 396.0f;
        const float sy = r.y + 496.0f;
        if (sx >= 0 && sx <= 800 && sy >= 0 && sy <= 600) {
            const std::size_t colour = static_cast<std::size_t>(star.starType) < 5 ? star.starType : 0;
            graphics::DrawSprite(assets.starTexture, {sx, sy}, rotation, true, "FF", 0,
                                 kStarColours[colour]);
        }
    }
}

void DrawTiles(std::int32_t shipX, std::int32_t shipY) {
    const double a = Ship().Angle;
    const float rotation = static_cast<float>(6.28 - a);
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 20; ++column) {
            int r = row;
            int c = column;
            if (shipY < 1024 && row > 15) {
                r = row - 20;
            }
            if (shipX < 1024 && column > 15) {
                c = column - 20;
            }
            if (shipY > 4096 && row < 5) {
                r = row + 20;
            }
            if (shipX > 4096 && column < 5) {
                c = column + 20;
            }
            const std::size_t cell = static_cast<std::size_t>(row * 20 + column);
            // Cells beyond a short map are empty space.
            if (cell >= records.mapData.size()) {
                continue;
            }
            const std::uint8_t tile = records.mapData[cell];
            // Tile numbers without a bitmap draw nothing.
            if (tile == 0 || tile >= records.tileTextures.size()) {
                continue;
            }
            const Turned turned = Turn(c * 256.0 - shipX - 272.0, r * 256.0 - shipY + 28.0, a);
            graphics::DrawSprite(records.tileTextures[tile], {turned.x + 272.0f, turned.y + 372.0f},
                                 rotation, false, "FF", 0, "");
        }
    }
}

void DrawFog(std::int32_t shipX, std::int32_t shipY, std::string_view tint) {
    const double a = Ship().Angle;
    const float rotation = static_cast<float>(6.28 - a);
    constexpr int kCell = 1024;
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 5; ++column) {
            int r = row;
            int c = column;
            if (shipY < 768 && row > 3) {
                r = row - 5;
            }
            if (shipX < 1024 && column > 3) {
                c = column - 5;
            }
            if (shipY > 4352 && row < 1) {
                r = row + 5;
            }
            if (shipX > 4096 && column < 1) {
                c = column + 5;
            }
            const std::int32_t dx = c * kCell - shipX + 112;
            const std::int32_t dy = r * kCell - shipY + 412;
            const Turned turned = Turn(dx, dy, a);
            graphics::SetSpriteScale(2.0f, 2.0f);
            graphics::DrawSprite(assets.fogTexture, {turned.x - 112.0f, turned.y - 12.0f}, rotation,
                                 true, "AF", 1, tint);
        }
    }
    graphics::SetSpriteScale(0.75f, 0.75f);
}

}  // namespace world
