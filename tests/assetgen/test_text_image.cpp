#include <gtest/gtest.h>

#include "platform/font_files.h"
#include "platform/text_image.h"

namespace {

TEST(FontFiles, ArialIsLiberationSansInTheAskedStyle) {
    EXPECT_EQ(platform::FindFontFile("Arial", false, false).filename(), "LiberationSans-Regular.ttf");
    EXPECT_EQ(platform::FindFontFile("arial", true, true).filename(), "LiberationSans-BoldItalic.ttf");
    EXPECT_EQ(platform::FindFontFile("arial", true, false).filename(), "LiberationSans-Bold.ttf");
}

TEST(FontFiles, UnknownFacesAndMissingFilesFallBackToDejaVu) {
    EXPECT_EQ(platform::FindFontFile("system", true, false).filename(), "DejaVuSans-Bold.ttf");
    const platform::FontFileSearch saved = platform::fontFileSearch;
    platform::fontFileSearch.folders[0] = "/nonexistent";
    platform::fontFileSearch.folders[1] = "/nonexistent";
    EXPECT_EQ(platform::FindFontFile("arial", false, true).filename(), "DejaVuSans-Oblique.ttf");
    platform::fontFileSearch = saved;
}

TEST(TextImage, RendersBlendedTextOfTheMeasuredSize) {
    std::string error;
    auto font = platform::TextFont::Open(platform::FindFontFile("arial", false, false), 20, &error);
    ASSERT_NE(font, nullptr) << error;
    const common::Image text = font->Render("Level Complete");
    EXPECT_EQ(text.width, 138);
    EXPECT_EQ(text.height, 23);
    int partial = 0, full = 0;
    for (std::uint32_t pixel : text.pixels) {
        EXPECT_EQ(pixel & 0x00FFFFFFu, 0x00FFFFFFu);
        const std::uint32_t alpha = pixel >> 24;
        partial += alpha > 0 && alpha < 255;
        full += alpha == 255;
    }
    EXPECT_GT(full, 0);
    EXPECT_GT(partial, full / 4) << "edges should be anti-aliased";
    EXPECT_TRUE(font->Render("").Empty());
    EXPECT_GT(font->LineHeight(), font->Ascent());
}

TEST(TextImage, MissingFontFileIsAnError) {
    std::string error;
    EXPECT_EQ(platform::TextFont::Open("/nonexistent/font.ttf", 12, &error), nullptr);
    EXPECT_NE(error.find("/nonexistent/font.ttf"), std::string::npos);
}

}  // namespace
