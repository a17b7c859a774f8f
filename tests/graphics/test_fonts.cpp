// Fonts, text and the colour-text convention.
#include <gtest/gtest.h>

#include <stdexcept>

#include "game/graphics/fonts.h"
#include "platform/font.h"
#include "platform/font_files.h"
#include "tests/graphics/scene.h"

namespace {

using namespace graphics_test;
using graphics::fonts;
using graphics::HexColour;

TEST(HexColour, JoinsAlphaAndColourIntoArgbAndRefusesOtherText) {
    EXPECT_EQ(HexColour("FF", "AF0000"), 0xFFAF0000u);
    EXPECT_EQ(HexColour("99", "ffffff"), 0x99FFFFFFu);  // lower case is hexadecimal too
    // An empty alpha leaves alpha 0: the sprite is invisible, not opaque.
    EXPECT_EQ(HexColour("", "FFFFFF"), 0x00FFFFFFu);
    EXPECT_THROW(HexColour("FF", "GG0000"), std::invalid_argument);
    EXPECT_THROW(HexColour("", ""), std::invalid_argument);
    EXPECT_THROW(HexColour("FFF", "FFFFFF"), std::invalid_argument);  // nine digits overflow
    EXPECT_THROW(HexColour("F ", "FFFFFF"), std::invalid_argument);
}

// Every test starts from the game's fonts made afresh.
class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        BeginTestFrame();
        graphics::ReleaseFonts();
        graphics::CreateGameFonts();
    }
};

TEST_F(FontTest, GameFontsGetTheFirstThreeSlotsAgainAfterARelease) {
    graphics::ReleaseFonts();
    EXPECT_EQ(fonts.fontPool.size(), 1u);
    graphics::CreateGameFonts();
    EXPECT_EQ(fonts.fontPool.size(), 4u);
    EXPECT_EQ(fonts.fontSmall, 1);
    EXPECT_EQ(fonts.fontLarge, 2);
    EXPECT_EQ(fonts.fontMedium, 3);
    // Points at 96 dpi: 26 points is 34.7 pixels of em, so lines are taller than that.
    EXPECT_GT(platform::FontLineHeight(fonts.fontPool[2].font), 35);
    EXPECT_LT(platform::FontLineHeight(fonts.fontPool[2].font), 45);
    EXPECT_GT(platform::FontLineHeight(fonts.fontPool[3].font), 24);
    EXPECT_LT(platform::FontLineHeight(fonts.fontPool[3].font), 32);
    // The system face keeps its 16-pixel cell whatever size is asked.
    EXPECT_LE(platform::FontLineHeight(fonts.fontPool[1].font), 18);
    EXPECT_GE(platform::FontLineHeight(fonts.fontPool[1].font), 14);
}

// Each game font, and a second line the rectangle cuts in half as it cuts the first line's end.
TEST_F(FontTest, EachGameFontDrawsItsTextAndTheRectangleClipsLines) {
    graphics::DrawText("FPS: 60", fonts.fontSmall, graphics::ColorRGBA(255, 255, 255, 255), {4, 4, 1200, 800});
    graphics::DrawText("Level 12", fonts.fontLarge, graphics::ColorRGBA(0, 255, 0, 255), {4, 24, 1200, 800});
    graphics::DrawText("Score 4096", fonts.fontMedium, 0xC8FFFFAFu, {4, 64, 1200, 800});
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 200, 96), "text_game_fonts"));
    platform::Clear(platform::kClearTarget, 0xFF000000u, 1.0f, 0);
    graphics::DrawText("Are you sure\nyou wish", fonts.fontMedium, 0xFFFFFFFFu, {10, 10, 100, 50});
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 160, 64), "text_clipped_lines"));
}

TEST_F(FontTest, TextAlphaBlendsOverThePicture) {
    platform::Clear(platform::kClearTarget, 0xFF0000FFu, 1.0f, 0);
    graphics::DrawText("M", fonts.fontLarge, 0x80FFFFFFu, {0, 0, 100, 100});
    // Half-transparent white over blue: the glyph's solid middle is a light blue, not white.
    bool sawBlend = false;
    for (int y = 0; y < 40 && !sawBlend; ++y) {
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t p = Pixel(x, y);
            if (p != 0xFF0000FFu) {
                EXPECT_NE(p, 0xFFFFFFFFu);
                sawBlend = sawBlend || ((p >> 16) & 0xFF) > 0x70;
            }
        }
    }
    EXPECT_TRUE(sawBlend);
}

TEST_F(FontTest, FailedOrEmptyFontsDrawNothingAndTextChangesNoState) {
    platform::SetRenderState(platform::kRsAlphaBlendEnable, 0);
    platform::SetRenderState(platform::kRsSrcBlend, platform::kBlendZero);
    const auto statesBefore = platform::device.renderStates;
    graphics::DrawText("nothing", -1, 0xFFFFFFFFu, {0, 0, 800, 600});
    graphics::DrawText("nothing", 9, 0xFFFFFFFFu, {0, 0, 800, 600});
    graphics::DrawText("", fonts.fontLarge, 0xFFFFFFFFu, {0, 0, 800, 600});
    EXPECT_TRUE(BackBufferIsBlank());
    graphics::DrawText("drawn", fonts.fontLarge, 0xFFFFFFFFu, {0, 0, 800, 600});
    EXPECT_EQ(platform::device.renderStates, statesBefore);
}

TEST(FontFallback, AMissingFaceFileFallsBackToAnotherFace) {
    const platform::FontFileSearch saved = platform::fontFileSearch;
    // Only the DejaVu folder: no Liberation file for "arial".
    for (auto& folder : platform::fontFileSearch.folders) {
        folder.clear();
    }
    platform::fontFileSearch.folders[0] = "/usr/share/fonts/truetype/dejavu";
    testing::internal::CaptureStderr();
    const platform::FontId font = platform::OpenFont("arial", 18, true, true, false);
    const std::string said = testing::internal::GetCapturedStderr();
    platform::fontFileSearch = saved;
    EXPECT_NE(font, 0);
    EXPECT_NE(said.find("arial"), std::string::npos) << said;
    platform::CloseFont(font);
    EXPECT_EQ(platform::FontLineHeight(font), 0);
}

}  // namespace
