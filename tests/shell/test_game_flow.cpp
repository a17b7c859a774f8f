#include <gtest/gtest.h>

#include "common/scancodes.h"
#include "game/screens/high_scores.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/shell/hud.h"
#include "game/shell/mod_timer.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

using shell::counters;
using shell::flow;
using shell::frmMain;

class GameFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        platform::ScriptKeyboard(true);
        world::ClearWorld();
        flow = shell::GameFlow{};
        counters = shell::GameCounters{};
        frmMain.gameRunning = true;
        ASSERT_TRUE(shell::NewGame());
    }
    void TearDown() override { platform::ScriptKeyboard(false); }

    void Frames(int count, int stepMs = 16) {
        for (int i = 0; i < count; ++i) {
            shell::GameFrame();
            clock.Advance(stepMs);
        }
    }

    platform::FakeClock clock{200000};
};

TEST_F(GameFlowTest, NewGameStartsBehindTheBannerWithTheWorldFrozen) {
    EXPECT_EQ(counters.health, 200);
    EXPECT_EQ(world::records.shipX, 2560);
    ASSERT_FALSE(world::records.colObjects.empty());
    const auto first = world::records.colObjects.front();
    const std::int32_t x = first->X, y = first->Y;
    Frames(60);  // about a second: the banner holds the world still from the first frame on
    EXPECT_TRUE(frmMain.bannerShowing);
    EXPECT_EQ(first->X, x);
    EXPECT_EQ(first->Y, y);
    Frames(80);
    EXPECT_FALSE(frmMain.bannerShowing);
}

TEST_F(GameFlowTest, AnEmptyWorldCompletesTheLevelAndTheNextOneLoads) {
    Frames(130);
    world::records.colObjects.clear();
    Frames(1);
    EXPECT_TRUE(frmMain.levelComplete);
    const platform::Tick end = flow.levelEndAt;
    EXPECT_EQ(end, clock.Now() - 16 + 4000);
    Frames(199, 20);  // almost four seconds of "Level Complete"
    EXPECT_EQ(counters.level, 1);
    Frames(2, 20);
    EXPECT_EQ(counters.level, 2);
    EXPECT_FALSE(world::records.colObjects.empty());
    EXPECT_EQ(world::records.shipX, 2560);
    EXPECT_EQ(flow.levelEndAt, 0);
}

TEST_F(GameFlowTest, ALostShipExplodesThenTheNextBlinksInPlaceAndWeaponsGo) {
    counters.hasSideShot = counters.hasLaserUpgrade = true;
    Frames(130);
    world::records.shipX = 1234;
    counters.health = 0;
    Frames(1);
    EXPECT_EQ(frmMain.shipTilt, 3);
    Frames(15, 76);  // frames 2 .. 15 of the explosion
    EXPECT_EQ(flow.explosionFrame, 15);
    EXPECT_EQ(counters.lives, 3);
    Frames(110, 20);  // two seconds without a ship
    EXPECT_EQ(counters.lives, 2);
    EXPECT_EQ(counters.health, 200);
    EXPECT_TRUE(counters.invulnerable);
    EXPECT_FALSE(counters.hasSideShot);
    EXPECT_TRUE(counters.hasLaserUpgrade);
    EXPECT_EQ(world::records.shipX, 1234);
}

TEST_F(GameFlowTest, TheLastShipEndsTheGameAfterSixSecondsOfGameOver) {
    const auto folder = test_support::ScratchFolder("flow");
    screens::highScores.file = {folder / "Scores.dat", folder / "Scores.dat"};
    Frames(130);
    counters.lives = 0;
    counters.health = 0;
    for (int i = 0; i < 400 && !frmMain.gameOver; ++i) {
        Frames(1, 20);
    }
    ASSERT_TRUE(frmMain.gameOver);
    Frames(250, 20);  // five seconds
    EXPECT_TRUE(frmMain.gameRunning);
    // Then the table (no place for a score of 0), left with Return.
    test_support::KeyScript script(clock, 0);
    script.HoldUntil({}, [] { return !frmMain.gameRunning; }).Hold({}, 5).Hold({common::kKeyReturn}, 3).Hold({}, 1);
    EXPECT_TRUE(script.Run([&] {
        for (int i = 0; i < 60 && frmMain.gameRunning; ++i) {
            Frames(1, 20);
        }
    }));
    EXPECT_FALSE(frmMain.gameRunning);
    EXPECT_TRUE(std::filesystem::exists(screens::highScores.file.writeTo));
    std::filesystem::remove_all(folder);
}

TEST(MusicAndShop, FollowTheLevelBands) {
    EXPECT_NE(shell::MusicFileForLevel(1).find("002.ogg"), std::string::npos);
    EXPECT_NE(shell::MusicFileForLevel(6).find("003.ogg"), std::string::npos);
    EXPECT_NE(shell::MusicFileForLevel(12).find("005.ogg"), std::string::npos);
    EXPECT_NE(shell::MusicFileForLevel(13).find("002.ogg"), std::string::npos);
    EXPECT_NE(shell::MusicFileForLevel(24).find("005.ogg"), std::string::npos);
    for (int level = 1; level <= 24; ++level) {
        EXPECT_EQ(shell::ShopBeforeLevel(level), level >= 4 && level % 3 == 1) << level;  // 4, 7 .. 22
    }
}

TEST_F(GameFlowTest, TheShipBobsAtRestAndSnapsBackWhenItMoves) {
    Frames(130);
    frmMain.enginePhase = 0;
    world::Ship().xAccel = world::Ship().yAccel = 0;
    frmMain.strafeSpeed = 0;
    Frames(1);
    const std::int32_t bobX = shell::hud.shipScreenX;
    EXPECT_NE(bobX, 336);
    EXPECT_LE(std::abs(bobX - 336), 8);
    platform::ScriptKey(200, true);
    Frames(1);
    EXPECT_EQ(shell::hud.shipScreenX, 336);
    EXPECT_EQ(shell::hud.shipScreenY, 436);
}

}  // namespace
