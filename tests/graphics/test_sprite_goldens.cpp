// Golden pictures of sprite drawing through the game's own calls: blend modes over a known
// background, colour keys, tints, turns, source rectangles, scales and the two filters.
#include <gtest/gtest.h>

#include "game/graphics/sprites.h"
#include "tests/graphics/pictures.h"
#include "tests/graphics/scene.h"

namespace {

using namespace graphics_test;
using graphics::Vector2;

// Vertical bands of grey levels and colours under everything, so each blend shows its sum.
void PaintBackground(int width, int height) {
    const std::uint32_t bands[] = {0xFF000000u, 0xFF404040u, 0xFF808080u, 0xFFFFFFFFu,
                                   0xFF2060C0u, 0xFFC08020u};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            platform::device.backBuffer[static_cast<std::size_t>(y) * platform::kScreenWidth + x] =
                platform::ToR5G6B5(bands[(x / 16) % 6]);
        }
    }
}

class SpriteGolden : public ::testing::Test {
protected:
    void SetUp() override {
        BeginTestFrame();
        letter = graphics::LoadTextureIntoPool(WriteBitmap("letter_f.bmp", LetterF()), kKeyMagenta);
        ASSERT_GT(letter, 0);
    }
    std::int32_t letter = -1;
};

TEST_F(SpriteGolden, EachBlendModeOfBothTablesOverBands) {
    PaintBackground(384, 160);
    for (std::int16_t mode = 0; mode < 4; ++mode) {
        // A batch of its own for each, so every mode starts from the batch's factors.
        graphics::BeginSprites();
        graphics::DrawSprite(letter, Vector2{8.0f + 96.0f * mode, 8.0f}, 0, false, "AF", mode, "");
        graphics::EndSprites();
        graphics::BeginSprites();
        graphics::DrawSpriteRect(letter, Vector2{8.0f + 96.0f * mode, 88.0f}, 0, false, "AF", mode,
                                 platform::Rect{0, 0, 64, 64}, 1, 1, "FFAFAF");
        graphics::EndSprites();
    }
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 384, 160), "sprite_blend_modes"));
}

TEST_F(SpriteGolden, ColourKeysMatchWholeTexelsOnly) {
    PaintBackground(160, 80);
    // The same picture with a key whose alpha is not FF: nothing matches, magenta shows.
    const std::int32_t unkeyed =
        graphics::LoadTextureIntoPool(WriteBitmap("letter_f_other_key.bmp", LetterF()), 0x0FFF00FFu);
    ASSERT_GT(unkeyed, 0);
    graphics::BeginSprites();
    graphics::DrawSprite(letter, Vector2{8, 8}, 0, false, "FF", 0, "");
    graphics::DrawSprite(unkeyed, Vector2{88, 8}, 0, false, "FF", 0, "");
    graphics::EndSprites();
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 160, 80), "sprite_colour_keys"));
}

TEST_F(SpriteGolden, TintsMultiplyEveryChannel) {
    PaintBackground(320, 80);
    const char* tints[] = {"FF8080", "80FF80", "8080FF", "404040"};
    graphics::BeginSprites();
    for (int i = 0; i < 4; ++i) {
        graphics::DrawSprite(letter, Vector2{8.0f + 76.0f * i, 8.0f}, 0, false, "FF", 0, tints[i]);
    }
    graphics::EndSprites();
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 320, 80), "sprite_tints"));
}

TEST_F(SpriteGolden, TurnsAboutTheCentre) {
    PaintBackground(320, 96);
    const float angles[] = {0.0f, 1.57f, 3.14f, 4.71f};
    graphics::BeginSprites();
    for (int i = 0; i < 4; ++i) {
        graphics::DrawSprite(letter, Vector2{16.0f + 76.0f * i, 16.0f}, angles[i], false, "FF", 0, "");
    }
    graphics::EndSprites();
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 320, 96), "sprite_rotation"));
}

TEST_F(SpriteGolden, SourceRectanglesAndScales) {
    PaintBackground(400, 140);
    graphics::BeginSprites();
    // The top-left quarter, twice as large; the centre still comes from the whole texture.
    graphics::DrawSpriteRect(letter, Vector2{8, 8}, 0, true, "FF", 0, platform::Rect{0, 0, 32, 32}, 2, 2, "");
    graphics::DrawSpriteScaled(letter, Vector2{88, 8}, 0, true, "FF", 0, 0.5f, 0.5f, "");
    graphics::DrawSpriteScaled(letter, Vector2{128, 8}, 0, true, "FF", 0, 1.5f, 0.75f, "");
    // A negative scale mirrors the picture about its corner.
    graphics::DrawSpriteScaled(letter, Vector2{320, 8}, 0, true, "FF", 0, -1.0f, 1.0f, "");
    graphics::sprites.spriteScaleX = 0.75f;
    graphics::sprites.spriteScaleY = 0.75f;
    graphics::DrawSprite(letter, Vector2{330, 80}, 0, true, "FF", 0, "");
    graphics::EndSprites();
    graphics::sprites.spriteScaleX = 0.8f;
    graphics::sprites.spriteScaleY = 0.6f;
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 400, 140), "sprite_source_rect_scale"));
}

TEST_F(SpriteGolden, PointAndLinearFiltering) {
    PaintBackground(300, 120);
    const std::int32_t checker =
        graphics::LoadTextureIntoPool(WriteBitmap("checker.bmp", Checker(0xFF20A040u, 0xFFE0E0E0u)), 0);
    ASSERT_GT(checker, 0);
    for (const bool linear : {false, true}) {
        const std::uint32_t filter = linear ? platform::kFilterLinear : platform::kFilterPoint;
        platform::SetTextureStageState(0, platform::kTssMagFilter, filter);
        platform::SetTextureStageState(0, platform::kTssMinFilter, filter);
        graphics::BeginSprites();
        const float x = linear ? 150.0f : 8.0f;
        graphics::DrawSpriteScaled(checker, Vector2{x, 8}, 0, true, "FF", 0, 4, 4, "");
        graphics::DrawSpriteScaled(checker, Vector2{x + 70, 8}, 0.3f, true, "FF", 0, 3, 3, "");
        graphics::DrawSpriteScaled(letter, Vector2{x + 20, 76}, 0.5f, true, "FF", 0, 0.5f, 0.5f, "");
        graphics::EndSprites();
    }
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 300, 120), "sprite_filtering"));
}

}  // namespace
