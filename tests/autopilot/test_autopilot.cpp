// The autopilot only looks: its decisions leave the game's state as they found it and press
// nothing but the configured keys; its runs play back exactly; and its aiming and shopping
// hold at their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "common/scancodes.h"
#include "game/autopilot/autopilot.h"
#include "game/input/dinput.h"
#include "game/screens/shop.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/shell/replay.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "tests/support/flights.h"
#include "tests/support/headless.h"

namespace {

using autopilot::pilot;

// A new game on a level with the clock in the test's hands and the keyboard scripted.
void StartLevel(int level) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    platform::ScriptKeyboard(true);
    shell::counters = shell::GameCounters{};
    shell::flow = shell::GameFlow{};
    shell::flow.startLevel = static_cast<std::int16_t>(level);
    ASSERT_TRUE(shell::NewGame());
    shell::frmMain.gameRunning = true;
}

void Settle() {
    input::dinput.pollObserver = shell::AfterInputPoll;
    pilot = autopilot::AutopilotState{};
    platform::ScriptKeyboard(false);
    shell::frmMain.gameRunning = true;
}

// First in the program: a recording made in a process that has played before reads the clock
// otherwise than a fresh program (timers left from the earlier game).
TEST(Autopilot, ARecordedRunPlaysBackToTheStateItEndedIn) {
    const auto folder = test_support::ScratchFolder("autopilot-replay");
    const auto path = folder / "bot.rpl";
    StartLevel(3);
    platform::FakeClock clock(50000);
    shell::RunOptions options;
    options.mode = shell::ReplayMode::kRecord;
    options.replayPath = path.string();
    options.uncapped = true;
    options.words = {"--level", "3"};
    platform::app.arguments = options.words;
    std::string error;
    ASSERT_TRUE(shell::StartReplay(options, &error)) << error;
    // The recording starts where the program's own run does: a new game in an empty world.
    world::ClearWorld();
    ASSERT_TRUE(shell::NewGame());
    autopilot::Engage(true);
    input::dinput.pollObserver = [](std::array<bool, 256>& keys) {
        autopilot::OnInputPoll(keys);
        shell::AfterInputPoll(keys);
    };
    for (int frame = 0; frame < 1200; ++frame) {
        shell::GameFrame();
        clock.Advance(frame % 3 == 2 ? 16 : 17);
    }
    const std::uint64_t digest = shell::GameStateDigest();
    const int shots = pilot.figures.shots;
    shell::FinishReplay();
    Settle();
    EXPECT_GT(shots, 0);
    const test_support::ProgramRun run = test_support::RunCorvane({"--timedemo", path.string()});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(test_support::PrintedDigest(run.output), digest) << run.output;
}

TEST(Autopilot, DecidesWithoutWritingTheGameAndPressesOnlyItsKeys) {
    StartLevel(8);
    platform::FakeClock clock(50000);
    autopilot::Engage(true);
    std::set<int> allowed{common::kKeyReturn, common::kKeyEscape, common::kKeyY};
    for (int action = 0; action < 7; ++action) allowed.insert(input::dinput.keyCodes[static_cast<std::size_t>(action)]);
    int firing = 0, turning = 0;
    std::vector<int> held;
    for (int frame = 0; frame < 700 && shell::frmMain.gameRunning; ++frame) {
        const std::uint64_t before = shell::GameStateDigest();
        std::array<bool, 256> keys = input::dinput.keyState;
        const std::array<bool, 256> polled = keys;
        autopilot::Decide(autopilot::LiveView(), pilot, keys);
        ASSERT_EQ(shell::GameStateDigest(), before) << "frame " << frame;
        for (int code = 0; code < 256; ++code) {
            if (keys[static_cast<std::size_t>(code)] != polled[static_cast<std::size_t>(code)]) {
                ASSERT_TRUE(allowed.count(code)) << "scan code " << code << " at frame " << frame;
            }
        }
        firing += keys[static_cast<std::size_t>(input::dinput.keyCodes[4])];
        turning += keys[static_cast<std::size_t>(input::dinput.keyCodes[2])] ||
                   keys[static_cast<std::size_t>(input::dinput.keyCodes[3])];
        // The game then runs one frame with those keys held.
        for (int code : held) platform::ScriptKey(code, false);
        held.clear();
        for (int code : allowed) {
            if (keys[static_cast<std::size_t>(code)]) {
                platform::ScriptKey(code, true);
                held.push_back(code);
            }
        }
        shell::GameFrame();
        clock.Advance(frame % 3 == 2 ? 16 : 17);
    }
    EXPECT_GT(firing, 30);
    EXPECT_GT(turning, 30);
    Settle();
}

TEST(Autopilot, LeadsAMovingTargetAndPointsTheGamesWay) {
    double x = 0, y = 0;
    // Still: straight at it.
    autopilot::LeadPoint(300, -400, 0, 0, 20, &x, &y);
    EXPECT_DOUBLE_EQ(x, 300);
    EXPECT_DOUBLE_EQ(y, -400);
    // Crossing: the meeting point is as far from the gun as a shot flies in the same time.
    autopilot::LeadPoint(0, -600, 5, 0, 20, &x, &y);
    const double frames = x / 5;
    EXPECT_GT(frames, 0);
    EXPECT_NEAR(std::hypot(x, y), 20 * frames, 1e-6);
    // Faster than a shot and going away: no meeting, aim at it.
    autopilot::LeadPoint(0, -600, 0, -30, 20, &x, &y);
    EXPECT_DOUBLE_EQ(y, -600);
    // Heading 0 is up the map (smaller y); a quarter turn is to the left.
    EXPECT_NEAR(autopilot::HeadingTowards(0, -1), 0, 1e-12);
    EXPECT_NEAR(autopilot::HeadingTowards(-1, 0), std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(autopilot::HeadingTowards(1, 0), 3 * std::numbers::pi / 2, 1e-12);
}

TEST(Autopilot, ShopsForRepairsThenTheBestItCanAfford) {
    shell::GameCounters c;
    screens::ShopState shop;
    c.health = 200;
    c.money = 199;
    EXPECT_EQ(autopilot::ShopChoice(c, shop, false), screens::kShopExitLine);
    c.money = 200;
    EXPECT_EQ(autopilot::ShopChoice(c, shop, false), 1);  // the faster laser first
    c.hasLaserUpgrade = true;
    c.money = 250;
    EXPECT_EQ(autopilot::ShopChoice(c, shop, false), 3);  // Side Shot reads $300 but takes 250
    c.money = 500;
    EXPECT_EQ(autopilot::ShopChoice(c, shop, false), 5);
    c.health = 120;
    EXPECT_EQ(autopilot::ShopChoice(c, shop, false), 0);  // hurt: a repair comes first
    EXPECT_EQ(autopilot::ShopChoice(c, shop, true), screens::kShopExitLine);
    c = shell::GameCounters{};
    c.hasLaserUpgrade = c.hasRearShot = c.hasSideShot = c.hasCrossShot = c.hasPhasers = c.hasWeaponStay = true;
    c.money = 5000;
    EXPECT_EQ(autopilot::ShopChoice(c, shop, false), 7);
    shop.lifeBought = true;  // one extra ship a visit
    EXPECT_EQ(autopilot::ShopChoice(c, shop, false), screens::kShopExitLine);
}

}  // namespace
