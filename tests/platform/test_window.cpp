#include <gtest/gtest.h>

#include <thread>

#include "platform/app.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace {

using namespace platform;

TEST(Clock, FakeClockReplacesTheRealOneAndRestoresIt) {
    {
        FakeClock fake(5000);
        EXPECT_EQ(GetTickCount(), 5000);
        fake.Advance(250);
        EXPECT_EQ(GetTickCount(), 5250);
    }
    const Tick real = GetTickCount();
    EXPECT_GE(real, 0);
    EXPECT_LT(real, 24LL * 3600 * 1000);
}

TEST(Clock, ObserverSeesEveryRead) {
    FakeClock fake(42);
    std::vector<Tick> seen;
    tickClock.observer = [&](Tick t) { seen.push_back(t); };
    GetTickCount();
    fake.Advance(1);
    GetTickCount();
    tickClock.observer = nullptr;
    EXPECT_EQ(seen, (std::vector<Tick>{42, 43}));
}

TEST(WindowTimers, FireFromTheMessagePumpOnlyWhenDueAndEnabled) {
    ASSERT_TRUE(CreateMainWindow("Starwake"));
    int fired = 0;
    const TimerId id = CreateWindowTimer(20, [&] { ++fired; });
    DoEvents();
    EXPECT_EQ(fired, 0);  // created disabled
    EnableWindowTimer(id, true);
    DoEvents();
    EXPECT_EQ(fired, 0);  // not yet due
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    DoEvents();
    EXPECT_EQ(fired, 1);
    DoEvents();
    EXPECT_EQ(fired, 1);  // a fired timer waits a full interval again
    EnableWindowTimer(id, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    DoEvents();
    EXPECT_EQ(fired, 1);
}

TEST(WindowTimers, HandlerMayStopItself) {
    int fired = 0;
    TimerId id = -1;
    id = CreateWindowTimer(1, [&] {
        ++fired;
        EnableWindowTimer(id, false);
    });
    EnableWindowTimer(id, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    DoEvents();
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(WindowTimerEnabled(id));
}

TEST(CommandLine, WordsAreJoinedWithBlanks) {
    char a0[] = "corvane", a1[] = "--play", a2[] = "xSHOWFPSy";
    char* argv[] = {a0, a1, a2};
    SetCommandLine(3, argv);
    EXPECT_EQ(CommandLine(), "--play xSHOWFPSy");
    EXPECT_FALSE(ProgramFolder().empty());
}

TEST(MessageBoxes, HeadlessBoxesReturnTheirSafeDefault) {
    EXPECT_EQ(ShowMessageBox("a test message", "Starwake"), MessageAnswer::kOkPressed);
    EXPECT_EQ(ShowMessageBox("a test question", "Starwake", MessageButtons::kYesNo), MessageAnswer::kNo);
    messageBox.handler = [](std::string_view, std::string_view, MessageButtons, MessageIcon) {
        return MessageAnswer::kYes;
    };
    EXPECT_EQ(ShowMessageBox("q", "t", MessageButtons::kYesNo), MessageAnswer::kYes);
    messageBox.handler = nullptr;
}

}  // namespace
