#include <gtest/gtest.h>

#include "game/shell/frm_main.h"
#include "game/shell/mod_timer.h"
#include "platform/clock.h"

namespace {

using shell::frameTimer;

class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override { frameTimer = shell::FrameTimer{}; }
    platform::FakeClock clock{1000};
};

// The clock counts from program start: a first frame soon after it closes a window too.
TEST_F(FrameTimerTest, TheFirstFrameClosesAWindowAtOnceWithFpsOne) {
    for (const platform::Tick start : {1000, 100}) {
        frameTimer = shell::FrameTimer{};
        clock.Set(start);
        shell::UpdateFrameTimer();
        EXPECT_EQ(frameTimer.fps, 1) << start;
        EXPECT_EQ(frameTimer.fpsWindowStart, start);
    }
}

TEST_F(FrameTimerTest, FortyNineCountedFramesGive197) {
    shell::UpdateFrameTimer();
    for (int i = 0; i < 48; ++i) {
        clock.Advance(5);
        shell::UpdateFrameTimer();
    }
    clock.Advance(9);  // 249 ms: the window is still open
    shell::UpdateFrameTimer();
    EXPECT_EQ(frameTimer.fps, 1);
    EXPECT_EQ(frameTimer.fpsFrameCount, 49);
    clock.Advance(1);  // 250 ms: this frame closes it and is not counted
    shell::UpdateFrameTimer();
    EXPECT_EQ(frameTimer.fps, 197);
    EXPECT_EQ(frameTimer.fpsFrameCount, 0);
}

TEST_F(FrameTimerTest, AfterAPauseTheFirstFrameUsesTheFramesCountedBefore) {
    shell::UpdateFrameTimer();
    for (int i = 0; i < 10; ++i) {
        clock.Advance(10);
        shell::UpdateFrameTimer();
    }
    clock.Advance(5000);  // minimised: no frame runs
    shell::UpdateFrameTimer();
    EXPECT_EQ(frameTimer.fps, 41);
}

TEST(CommandLine, ShowFpsAnywhereInExactCase) {
    EXPECT_TRUE(shell::CommandLineShowsFps("SHOWFPS"));
    EXPECT_TRUE(shell::CommandLineShowsFps("xxSHOWFPSyy"));
    EXPECT_TRUE(shell::CommandLineShowsFps("--record a.rpl SHOWFPS"));
    EXPECT_FALSE(shell::CommandLineShowsFps("showfps"));
    EXPECT_FALSE(shell::CommandLineShowsFps("SHOW FPS"));
    EXPECT_FALSE(shell::CommandLineShowsFps(""));
}

}  // namespace
