#include <gtest/gtest.h>

#include "platform/frame_pacer.h"
#include "platform/window.h"

namespace {

using platform::framePacer;

// A fake real-time clock that the pacer sleeps on.
class FramePacerTest : public ::testing::Test {
protected:
    void SetUp() override {
        framePacer = platform::FramePacerState{};
        framePacer.now = [this] { return now_; };
        framePacer.sleep = [this](double ms) {
            now_ += ms + 0.08;  // the system wakes a little late
            slept_ += ms;
        };
        platform::window.vsync = false;
        platform::window.refreshRate = 0;
    }
    void TearDown() override { framePacer = platform::FramePacerState{}; }

    // Frames that each take workMs to draw, paced; returns the frames shown in one second.
    int FramesInOneSecond(double workMs) {
        const double start = now_;
        int frames = 0;
        while (now_ - start < 1000.0) {
            now_ += workMs;
            platform::PaceFrame();
            ++frames;
        }
        return frames;
    }

    double now_ = 5000;
    double slept_ = 0;
};

TEST_F(FramePacerTest, HoldsAFastLoopToSixtyFramesASecondAsleepAndLateWakeUpsDoNotAddUp) {
    const int frames = FramesInOneSecond(1.0);
    EXPECT_GE(frames, 59);
    EXPECT_LE(frames, 61);
    EXPECT_GT(slept_, 900.0);  // the waiting is sleep, not spinning
    EXPECT_EQ(FramesInOneSecond(1.0), 60);  // a second second on the same schedule
}

TEST_F(FramePacerTest, ASlowFrameRestartsTheScheduleInsteadOfRacing) {
    FramesInOneSecond(1.0);
    now_ += 500;  // a long stall
    platform::PaceFrame();
    const double before = slept_;
    platform::PaceFrame();
    EXPECT_GT(slept_, before);  // back to pacing at once, no burst of catch-up frames
}

TEST_F(FramePacerTest, SixtyHertzVsyncPacesItselfAndUncappedRunsFlatOut) {
    platform::window.vsync = true;
    platform::window.refreshRate = 60;
    EXPECT_GT(FramesInOneSecond(1.0), 900);
    platform::window.refreshRate = 144;  // a faster display still gets 60
    EXPECT_LE(FramesInOneSecond(1.0), 61);
    framePacer.capped = false;
    EXPECT_GT(FramesInOneSecond(1.0), 900);
}

}  // namespace
