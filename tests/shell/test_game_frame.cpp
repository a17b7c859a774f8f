#include <gtest/gtest.h>

#include <array>

#include "common/scancodes.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/fonts.h"
#include "game/shell/frm_main.h"
#include "game/shell/main_menu.h"
#include "game/shell/game_counters.h"
#include "game/shell/mod_timer.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "tests/support/headless.h"

namespace {

using shell::frmMain;

class GameFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        platform::ScriptKeyboard(true);
        frmMain.gameRunning = true;
        frmMain.quitRequested = false;
        frmMain.bannerShowing = false;
        shell::counters.health = 200;
    }
    void TearDown() override { platform::ScriptKeyboard(false); }

    void Frame() {
        shell::GameFrame();
        clock.Advance(16);
    }
    // Keys held down together for one frame.
    void Press(std::initializer_list<int> keys) {
        for (int key : keys) platform::ScriptKey(key, true);
        Frame();
        for (int key : keys) platform::ScriptKey(key, false);
    }

    platform::FakeClock clock{100000};
};

TEST_F(GameFrameTest, EscapeAsksAndYEndsTheGame) {
    Press({common::kKeyEscape});
    EXPECT_TRUE(frmMain.quitRequested);
    for (int i = 0; i < 30; ++i) {
        Frame();  // neither Y nor N: the question stays
    }
    EXPECT_TRUE(frmMain.quitRequested);
    EXPECT_TRUE(frmMain.gameRunning);
    Press({common::kKeyY});
    EXPECT_FALSE(frmMain.gameRunning);
    EXPECT_FALSE(frmMain.quitRequested);
}

TEST_F(GameFrameTest, YAloneDoesNothingAndNTakesTheQuestionAway) {
    Press({common::kKeyY});
    EXPECT_TRUE(frmMain.gameRunning);
    Press({common::kKeyEscape});
    Press({common::kKeyN});
    EXPECT_FALSE(frmMain.quitRequested);
    EXPECT_TRUE(frmMain.gameRunning);
}

TEST_F(GameFrameTest, EscapeAndYTogetherEndTheGameInTheSameFrame) {
    // The controls run before the answer is polled, so the question is asked and answered at once.
    Press({common::kKeyEscape, common::kKeyY});
    EXPECT_FALSE(frmMain.gameRunning);
    EXPECT_FALSE(frmMain.quitRequested);
}

TEST_F(GameFrameTest, EveryShownFrameIsPresentedAndSetsFrameScaleAndAMinimisedOneOnlyPumps) {
    const auto before = platform::device.framesPresented;
    shell::frameTimer = shell::FrameTimer{};
    Frame();
    EXPECT_EQ(platform::device.framesPresented, before + 1);
    EXPECT_FLOAT_EQ(shell::frameTimer.frameScale, 60.0f);
    for (int i = 0; i < 20; ++i) {
        Frame();  // 16 ms apart: 15 frames counted in the next window
    }
    EXPECT_EQ(shell::frameTimer.fps, 61);
    EXPECT_NEAR(shell::frameTimer.frameScale, 60.0f / 61.0f, 1e-6);

    const auto shown = platform::device.framesPresented;
    const auto counted = shell::frameTimer.fpsFrameCount;
    platform::window.minimised = true;
    Frame();
    platform::window.minimised = false;
    EXPECT_EQ(platform::device.framesPresented, shown);
    EXPECT_EQ(shell::frameTimer.fpsFrameCount, counted);
}

TEST_F(GameFrameTest, LostDeviceIsResetWithItsStatesAndMatrices) {
    using namespace platform;
    auto fonts = [] {
        return std::array{graphics::fonts.fontSmall, graphics::fonts.fontLarge, graphics::fonts.fontMedium};
    };
    const auto fontsBefore = fonts();
    frmMain.surfacesLost = false;
    frmMain.menuSurface = CreateImageSurface(800, 600, kFormatR5G6B5);
    frmMain.backBuffer = GetRenderTarget();
    device_testing::LoseDevice();
    // The display comes back after a few turns of the message pump.
    int pumps = 0;
    const TimerId back = CreateWindowTimer(0, [&] {
        if (++pumps == 5) {
            device_testing::RestoreDevice();
        }
    });
    EnableWindowTimer(back, true);
    shell::CheckDevice();
    EnableWindowTimer(back, false);
    EXPECT_GE(pumps, 5);
    EXPECT_EQ(TestCooperativeLevel(), kOk);
    EXPECT_TRUE(frmMain.surfacesLost);
    EXPECT_FALSE(frmMain.menuSurface);
    EXPECT_EQ(GetRenderState(kRsLighting), 1u);
    EXPECT_EQ(GetRenderState(kRsZEnable), 1u);
    EXPECT_EQ(GetRenderState(kRsAmbient), 0xCFCFCFu);
    EXPECT_EQ(GetTextureStageState(0, kTssMinFilter), kFilterLinear);
    EXPECT_EQ(GetTransform(kTransformView), graphics::dxgfx.matView);
    EXPECT_EQ(GetTransform(kTransformWorld), Matrix::Identity());
    EXPECT_EQ(fonts(), fontsBefore);
    for (const std::int32_t font : fonts()) {
        EXPECT_GE(font, 1);  // real fonts again, not failed loads
    }
    Frame();  // and play goes on
}

TEST_F(GameFrameTest, AltEnterSwitchesTheWindowAndItsReturnNeverReachesTheGame) {
    test_support::ExpectAltEnterSwitchesTheWindow([this] { Frame(); });
}

// A window without the focus holds the game still the way a lost device does: the frame waits
// in the device check, pumping messages, until the focus is back; then the device is reset
// and the frame is played.
TEST_F(GameFrameTest, AWindowWithoutTheFocusPausesTheGameUntilItComesBack) {
    ASSERT_FALSE(platform::window.fullscreen);
    ASSERT_TRUE(platform::window.activityHandler);
    Frame();
    const auto presented = platform::device.framesPresented;
    frmMain.surfacesLost = false;
    platform::window.activityHandler(false, false);
    int pumps = 0;
    const platform::TimerId back = platform::CreateWindowTimer(0, [&] {
        if (++pumps == 3) {
            platform::window.activityHandler(true, false);
        }
    });
    platform::EnableWindowTimer(back, true);
    Frame();
    platform::EnableWindowTimer(back, false);
    EXPECT_GE(pumps, 3);
    EXPECT_TRUE(frmMain.surfacesLost);
    EXPECT_EQ(platform::device.framesPresented, presented + 1);  // only the frame after the return
    EXPECT_EQ(platform::TestCooperativeLevel(), platform::kOk);
}

TEST_F(GameFrameTest, EndFramePresentsOnceEvenWhenPresentationFails) {
    platform::device_testing::FailPresents(3);
    const auto before = platform::device.framesPresented;
    graphics::BeginFrame();
    graphics::EndFrame();
    EXPECT_EQ(platform::device_testing::switches.failPresents, 2);  // one attempt, no retry loop
    EXPECT_EQ(platform::device.framesPresented, before);
    platform::device_testing::FailPresents(0);
}

TEST(Cursor, HidingAndShowingLoopUntilTheCounterCrosses) {
    platform::app.cursorCounter = 0;
    shell::HideCursorFully();
    EXPECT_EQ(platform::app.cursorCounter, -2);
    shell::ShowCursorFully();
    EXPECT_EQ(platform::app.cursorCounter, 0);
    platform::app.cursorCounter = 3;  // shown several times over
    shell::HideCursorFully();
    EXPECT_EQ(platform::app.cursorCounter, -2);
    platform::app.cursorCounter = -7;
    shell::ShowCursorFully();
    EXPECT_EQ(platform::app.cursorCounter, 0);
}

}  // namespace
