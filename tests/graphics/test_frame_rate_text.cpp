// The frame-rate text in a real game frame: with "SHOWFPS", "FPS: " and the rate appear in the
// small font at (0, 70).
#include <gtest/gtest.h>

#include "game/graphics/fonts.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/keyboard.h"
#include "tests/support/headless.h"

namespace {

int BrightPixels(int left, int top, int right, int bottom) {
    int bright = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const std::uint32_t p = platform::FromR5G6B5(
                platform::device.lastPresented[static_cast<std::size_t>(y) * platform::kScreenWidth +
                                               static_cast<std::size_t>(x)]);
            bright += (p & 0xFFFFFF) == 0xFFFFFF;
        }
    }
    return bright;
}

TEST(FrameRateText, ShowsInTheSmallFontWhenAskedFor) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    ASSERT_GE(graphics::fonts.fontSmall, 1);
    // Other tests of this program draw inside a scene they leave open.
    if (platform::device.inScene) {
        platform::EndScene();
    }
    platform::FakeClock clock{200000};
    platform::ScriptKeyboard(true);
    shell::frmMain.gameRunning = true;
    shell::frmMain.quitRequested = false;
    shell::counters.health = 200;
    const int lineHeight = platform::FontLineHeight(
        graphics::fonts.fontPool[static_cast<std::size_t>(graphics::fonts.fontSmall)].font);

    shell::frmMain.showFps = false;
    shell::GameFrame();
    const int without = BrightPixels(0, 70, 120, 70 + lineHeight);
    const int aboveWithout = BrightPixels(0, 50, 120, 70);
    shell::frmMain.showFps = true;
    clock.Advance(16);
    shell::GameFrame();
    const int with = BrightPixels(0, 70, 120, 70 + lineHeight);
    const int aboveWith = BrightPixels(0, 50, 120, 70);
    shell::frmMain.showFps = false;
    platform::ScriptKeyboard(false);
    // White glyphs fill a good part of the text's cell, and nothing of it lies above the line.
    EXPECT_GT(with, without + 40);
    EXPECT_EQ(aboveWith, aboveWithout);
}

}  // namespace
