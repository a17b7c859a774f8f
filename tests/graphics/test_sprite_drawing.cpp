// Sprite drawing: the blend-mode tables and their leaking states, the edge rules of scan
// conversion and between neighbouring quads, particles turning with the view, and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/graphics/sprites.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "platform/raster.h"
#include "tests/graphics/pictures.h"
#include "tests/graphics/scene.h"

namespace {

using namespace graphics_test;
using graphics::Vector2;
using namespace platform;

class SpriteDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        BeginTestFrame();
        letter = graphics::LoadTextureIntoPool(WriteBitmap("letter_f.bmp", LetterF()), kKeyMagenta);
        white = graphics::LoadTextureIntoPool(WriteBitmap("white32.bmp", common::Image(32, 32, 0xFFFFFFFFu)), 0);
        ASSERT_GT(letter, 0);
        ASSERT_GT(white, 0);
    }
    std::int32_t letter = -1;
    std::int32_t white = -1;
};

struct Factors {
    std::uint32_t src, dest, enable;
    bool operator==(const Factors&) const = default;
};
Factors CurrentFactors() {
    return {GetRenderState(kRsSrcBlend), GetRenderState(kRsDestBlend), GetRenderState(kRsAlphaBlendEnable)};
}
void PrintTo(const Factors& f, std::ostream* out) { *out << "{" << f.src << ", " << f.dest << ", " << f.enable << "}"; }

// The batch turns alpha blending on; each mode then sets only some states, the rest leak from
// the draw before, and the batch's end restores nothing.
TEST_F(SpriteDrawingTest, BlendModesLeaveTheStatesTheyDoNotSet) {
    SetRenderState(kRsAlphaBlendEnable, 0);
    graphics::BeginSprites();
    EXPECT_EQ(CurrentFactors(), (Factors{kBlendSrcAlpha, kBlendInvSrcAlpha, 1}));
    enum Call { kSprite, kRect, kScaled };
    const struct {
        Call call;
        std::int16_t mode;
        Factors after;
    } steps[] = {
        {kSprite, 2, {kBlendSrcColor, kBlendDestColor, 1}},
        {kSprite, 1, {kBlendSrcColor, kBlendOne, 1}},  // only the destination
        {kSprite, 3, {kBlendZero, kBlendOne, 1}},      // only the source
        {kRect, 1, {kBlendOne, kBlendOne, 1}},         // the rectangle's modes set both
        {kRect, 3, {kBlendZero, kBlendZero, 1}},
        {kScaled, 0, {kBlendZero, kBlendZero, 0}},
        {kSprite, 4, {kBlendZero, kBlendZero, 0}},  // modes outside 0 .. 3 change nothing
        {kRect, -1, {kBlendZero, kBlendZero, 0}},
    };
    for (const auto& step : steps) {
        if (step.call == kSprite) {
            graphics::DrawSprite(letter, Vector2{0, 0}, 0, false, "FF", step.mode, "");
        } else if (step.call == kRect) {
            graphics::DrawSpriteRect(letter, Vector2{0, 0}, 0, false, "FF", step.mode, Rect{0, 0, 64, 64}, 1, 1, "");
        } else {
            graphics::DrawSpriteScaled(letter, Vector2{0, 0}, 0, false, "FF", step.mode, 1, 1, "");
        }
        EXPECT_EQ(CurrentFactors(), step.after) << "call " << step.call << " mode " << step.mode;
    }
    graphics::EndSprites();
    EXPECT_EQ(CurrentFactors(), (Factors{kBlendZero, kBlendZero, 0}));
}

// Textures that failed to load, empty slots, alpha 0, and positions, turns, scales or source
// rectangles that make no sense: nothing reaches the screen.
TEST_F(SpriteDrawingTest, BadTexturesAndNonsenseGeometryDrawNothing) {
    const float nan = std::nanf("");
    graphics::BeginSprites();
    const Factors before = CurrentFactors();
    graphics::DrawSprite(-1, Vector2{0, 0}, 0, false, "FF", 2, "");
    graphics::DrawSpriteRect(-1, Vector2{0, 0}, 0, false, "FF", 2, Rect{0, 0, 8, 8}, 1, 1, "");
    graphics::DrawSpriteScaled(99, Vector2{0, 0}, 0, false, "FF", 2, 1, 1, "");
    EXPECT_EQ(CurrentFactors(), before);  // an index outside the pool changes nothing at all
    // An empty slot inside the pool: the mode's states are set, nothing is drawn.
    graphics::sprites.texturePool.emplace_back();
    graphics::DrawSprite(static_cast<std::int32_t>(graphics::sprites.texturePool.size() - 1), Vector2{0, 0}, 0,
                         false, "FF", 2, "");
    graphics::sprites.texturePool.pop_back();
    EXPECT_EQ(GetRenderState(kRsSrcBlend), kBlendSrcColor);
    // An empty alpha text gives alpha 0: every texel is dropped, even with blending off.
    graphics::DrawSprite(white, Vector2{40, 0}, 0, false, "", 0, "FFFFFF");
    graphics::DrawSprite(letter, Vector2{nan, 0}, 0, false, "FF", 0, "");
    graphics::DrawSprite(letter, Vector2{0, 0}, INFINITY, false, "FF", 0, "");
    graphics::DrawSpriteScaled(letter, Vector2{0, 0}, 0, true, "FF", 0, 1e30f, 1e30f, "");
    graphics::DrawSpriteScaled(letter, Vector2{0, 0}, 0, true, "FF", 0, 0, 0, "");
    graphics::DrawSpriteScaled(letter, Vector2{1e9f, -1e9f}, 0, true, "FF", 0, 1, 1, "");
    graphics::DrawSpriteRect(letter, Vector2{0, 0}, 0, true, "FF", 0, Rect{50, 50, 10, 10}, 1, 1, "");
    graphics::DrawSpriteRect(letter, Vector2{0, 0}, 0, true, "FF", 0, Rect{0, 0, 1 << 30, 8}, 1, 1, "");
    graphics::EndSprites();
    EXPECT_TRUE(BackBufferIsBlank());
}

// Counts how often each pixel is drawn: every draw adds 0x10 to black with one, one.
std::vector<int> DrawCounts() {
    std::vector<int> counts(device.backBuffer.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        counts[i] = static_cast<int>((FromR5G6B5(device.backBuffer[i]) >> 16) & 0xFF) / 0x10;
    }
    return counts;
}

TEST_F(SpriteDrawingTest, NeighbouringTilesShareEdgesWithoutGapsOrOverlaps) {
    // A turned grid laid out as the tile layer lays it: centres turned by +a about a pivot,
    // each tile turned by 6.28 - a about its own centre.
    for (const double a : {0.0, 0.3, 1.0, 2.2, 3.9}) {
        Clear(kClearTarget, 0, 1.0f, 0);
        graphics::BeginSprites();
        const double c = std::cos(a), s = std::sin(a);
        for (int row = -3; row <= 3; ++row) {
            for (int col = -3; col <= 3; ++col) {
                const double dx = col * 32.0, dy = row * 32.0;
                const Vector2 at{static_cast<float>(dx * c - dy * s + 400.0 - 16.0),
                                 static_cast<float>(dx * s + dy * c + 300.0 - 16.0)};
                graphics::DrawSpriteRect(white, at, static_cast<float>(6.28 - a), false, "FF", 1,
                                         Rect{0, 0, 32, 32}, 1, 1, "101010");
            }
        }
        graphics::EndSprites();
        const std::vector<int> counts = DrawCounts();
        int twice = 0, holes = 0;
        // Inside a circle well within the grid every pixel is drawn exactly once.
        for (int y = 300 - 80; y < 300 + 80; ++y) {
            for (int x = 400 - 80; x < 400 + 80; ++x) {
                if ((x - 400) * (x - 400) + (y - 300) * (y - 300) > 80 * 80) {
                    continue;
                }
                const int n = counts[static_cast<std::size_t>(y) * kScreenWidth + static_cast<std::size_t>(x)];
                twice += n > 1;
                holes += n == 0;
            }
        }
        EXPECT_EQ(twice, 0) << "angle " << a;
        EXPECT_EQ(holes, 0) << "angle " << a;
    }
}

TEST(ScanConversion, CentresOnLeftAndTopEdgesAreInsideOnRightAndBottomOutside) {
    auto cover = [](double x0, double y0, double x1, double y1) {
        raster::ConvexPolygon p;
        p.count = 4;
        const double xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
        for (int i = 0; i < 4; ++i) {
            p.x[i] = std::llround(xs[i] * raster::kSubPixel);
            p.y[i] = std::llround(ys[i] * raster::kSubPixel);
        }
        EXPECT_TRUE(raster::OrientClockwise(p));
        int pixels = 0, firstX = 1000, firstY = 1000;
        raster::ScanConvex(p, 0, 0, 100, 100, [&](int y, int xb, int xe) {
            pixels += xe - xb;
            firstX = std::min(firstX, xb);
            firstY = std::min(firstY, y);
        });
        return std::tuple<int, int, int>(pixels, firstX, firstY);
    };
    EXPECT_EQ(cover(2, 2, 4, 4), std::make_tuple(4, 2, 2));
    // Edges through pixel centres: the left and top ones keep them.
    EXPECT_EQ(cover(2.5, 2.5, 4.5, 4.5), std::make_tuple(4, 2, 2));
    EXPECT_EQ(cover(2.49, 2.49, 4.51, 4.51), std::make_tuple(9, 2, 2));
    EXPECT_EQ(cover(2.51, 2.51, 4.49, 4.49), std::make_tuple(1, 3, 3));
    // Clipped to the rectangle given.
    EXPECT_EQ(cover(-10, -10, 3, 2), std::make_tuple(6, 0, 0));
    // Wound either way, the same pixels.
    raster::ConvexPolygon backwards;
    backwards.count = 3;
    backwards.x[0] = 0, backwards.y[0] = 0;
    backwards.x[1] = 0, backwards.y[1] = 10 * raster::kSubPixel;
    backwards.x[2] = 10 * raster::kSubPixel, backwards.y[2] = 0;
    EXPECT_LT(raster::SignedArea2(backwards), 0);
    EXPECT_TRUE(raster::OrientClockwise(backwards));
    EXPECT_GT(raster::SignedArea2(backwards), 0);
}

TEST_F(SpriteDrawingTest, ParticlesTurnWithTheViewAboutThePivot) {
    const std::int32_t savedTexture = world::assets.particleTexture;
    const float savedScale[2] = {graphics::sprites.spriteScaleX, graphics::sprites.spriteScaleY};
    const std::int32_t speck =
        graphics::LoadTextureIntoPool(WriteBitmap("speck.bmp", common::Image(4, 4, 0xFFFFFFFFu)), 0);
    world::assets.particleTexture = speck;
    graphics::sprites.spriteScaleX = graphics::sprites.spriteScaleY = 1.0f;
    auto& ship = world::records.cars[0];
    ASSERT_TRUE(ship);
    const double savedAngle = ship->Angle;
    graphics::BeginSprites();
    // Straight ahead: 10 right of and 20 below the pivot's world point.
    ship->Angle = 0;
    graphics::DrawParticle(1000, 2000, 1000 + 396 + 10, 2000 + 96 + 20);
    // A quarter turn: (10, 20) turns to (-20, 10).
    ship->Angle = 1.5707963267948966;
    graphics::DrawParticle(1000, 2000, 1000 + 396 + 10, 2000 + 96 + 20);
    graphics::EndSprites();
    ship->Angle = savedAngle;
    world::assets.particleTexture = savedTexture;
    graphics::sprites.spriteScaleX = savedScale[0];
    graphics::sprites.spriteScaleY = savedScale[1];
    EXPECT_EQ(Pixel(406 + 1, 516 + 1), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(376 + 1, 506 + 1), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(396 + 1, 496 + 1), 0xFF000000u);
}

}  // namespace
