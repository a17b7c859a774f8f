// The whole game through the real menu, game frame, shop and high-score screens, with keys
// pressed by a script and a clock that moves 20 ms a pass. Levels are completed by emptying
// the world, ships lost by setting their health, as play would.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/scancodes.h"
#include "common/scores_file.h"
#include "game/audio/music.h"
#include "game/graphics/sprites.h"
#include "game/screens/high_scores.h"
#include "game/screens/shop.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/world/records.h"
#include "platform/message_box.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

namespace fs = std::filesystem;
using common::kKeyDown;
using common::kKeyEscape;
using common::kKeyReturn;
using common::kKeyRight;
using common::kKeySpace;
using common::kKeyUp;
using common::kKeyY;
using shell::counters;
using shell::frmMain;
using test_support::KeyScript;

// Passes for the 250 ms repeat tick to run out at 20 ms a pass.
constexpr int kTick = 13;

bool InShop() { return graphics::sprites.spriteScaleY == 0.6f; }

class WholeGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        folder_ = test_support::ScratchFolder("whole-game");
        screens::highScores.file = {folder_ / "Scores.dat", folder_ / "Scores.dat"};
        screens::SetTable(common::FirstScoreTable());
        counters = shell::GameCounters{};
        shell::flow = shell::GameFlow{};
        world::ClearWorld();
        frmMain.gameRunning = true;
        platform::messageBox.handler = [](std::string_view text, std::string_view, platform::MessageButtons,
                                          platform::MessageIcon) {
            ADD_FAILURE() << "message box: " << text;
            return platform::MessageAnswer::kOkPressed;
        };
    }
    void TearDown() override {
        platform::messageBox.handler = nullptr;
        fs::remove_all(folder_);
    }

    // From the menu into a game and past its level banner.
    static void StartGame(KeyScript& script) {
        script.Hold({kKeyReturn}, 1).HoldUntil({}, [] { return !frmMain.bannerShowing; });
    }
    // Escape, then Y: the game ends without a score.
    static void Quit(KeyScript& script) { script.Hold({kKeyEscape}, 1).Hold({kKeyY}, 1).Hold({}, 1); }
    // Three letters (Up steps from A for each), then Return.
    static void EnterInitials(KeyScript& script, std::initializer_list<int> ups) {
        script.Hold({}, 3);
        for (int up : ups) {
            script.Tap({kKeyUp}, kTick, up).Tap({kKeyRight}, kTick);
        }
        script.Hold({kKeyReturn}, 1).Hold({}, 3);
    }
    static void LeaveTable(KeyScript& script) { script.Hold({}, 3).Hold({kKeyReturn}, 1).Hold({}, 2); }
    // A game from the menu to its end, then its initials and the table.
    static void PlayToTheTable(KeyScript& script, std::initializer_list<int> ups) {
        StartGame(script);
        script.HoldUntil({}, [] { return !frmMain.gameRunning; });
        EnterInitials(script, ups);
        LeaveTable(script);
    }

    fs::path folder_;
    platform::FakeClock clock{1000000};
};

TEST_F(WholeGameTest, FromTheMenuThroughThreeLevelsAndTheShopToLevelFour) {
    std::vector<int> moneyInShop;
    std::string musicAtLevel4;
    bool musicOnAtLevel4 = false;
    KeyScript script(clock, 20);
    StartGame(script);
    script.HoldUntil({}, InShop);
    script.Hold({}, kTick).Tap({kKeyDown}, kTick);
    script.Tap({kKeySpace}, kTick, 2);  // a buy, a refusal
    script.Tap({kKeyDown}, kTick, screens::kShopExitLine - 1).Hold({kKeyReturn}, 1);
    script.HoldUntil({}, [] { return counters.level == 4 && frmMain.bannerShowing; });
    script.HoldUntil({}, [] { return !frmMain.bannerShowing; });
    Quit(script);
    script.Watch([&](int) {
        if (script.step() == 2 && counters.level <= 3 && !frmMain.bannerShowing) {
            world::records.colObjects.clear();  // the level's last object destroyed
            counters.money = 300;
        }
        if (InShop()) {
            moneyInShop.push_back(counters.money);
        }
        if (counters.level == 4 && frmMain.bannerShowing && musicAtLevel4.empty()) {
            musicAtLevel4 = frmMain.cMFile;
            musicOnAtLevel4 = audio::music.musicOn;
        }
    });
    ASSERT_TRUE(script.Run(shell::OuterLoopPass));

    ASSERT_FALSE(moneyInShop.empty());
    EXPECT_EQ(moneyInShop.front(), 300);
    EXPECT_EQ(moneyInShop.back(), 100);  // Laser Upgrade bought once, refused the second time
    EXPECT_TRUE(counters.hasLaserUpgrade);
    EXPECT_EQ(fs::path(musicAtLevel4).filename(), "003.ogg");
    EXPECT_TRUE(musicOnAtLevel4);
    // Y ended the game: music off, no score kept.
    EXPECT_FALSE(audio::music.musicOn);
    EXPECT_FALSE(fs::exists(screens::highScores.file.writeTo));
}

TEST_F(WholeGameTest, GameOverAsksForInitialsShowsTheTableAndTheNextGameStartsClean) {
    KeyScript script(clock, 20);
    PlayToTheTable(script, {1, 1, 0});
    script.Watch([&](int) {
        if (script.step() == 2 && counters.score == 0) {
            counters.score = 60000;
            counters.lives = 0;
            counters.health = 0;
        }
    });
    ASSERT_TRUE(script.Run(shell::OuterLoopPass));
    EXPECT_EQ(screens::highScores.scoreTable[0], 60000);
    EXPECT_EQ(screens::highScores.nameTable[0], "BBA");
    const auto saved = common::ReadFileBytes(screens::highScores.file.readFrom, 4096, nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(std::string(saved->begin(), saved->begin() + 11), "60000,BBA\r\n");
    EXPECT_EQ(frmMain.shipTilt, 3);

    // The next game shows no trace of the last one's destroyed ship.
    bool clean = true;
    KeyScript next(clock, 20);
    StartGame(next);
    Quit(next);
    next.Watch([&](int) {
        if (next.step() == 1) {
            clean = clean && frmMain.shipTilt == 0 && shell::flow.explosionFrame == 0 &&
                    shell::flow.respawnAt == 0 && counters.lives == 3;
        }
    });
    ASSERT_TRUE(next.Run(shell::OuterLoopPass));
    EXPECT_TRUE(clean);
}

TEST_F(WholeGameTest, TheWinAfterTheLastLevelKeepsItsScore) {
    platform::Tick congratulationsUntil = 0, seenAt = 0;
    KeyScript script(clock, 20);
    PlayToTheTable(script, {0, 0, 0});
    script.Watch([&](int) {
        if (script.step() == 2 && counters.level != 24 && frmMain.gameRunning) {
            counters.level = 24;
            counters.score = 70000;
            world::records.colObjects.clear();
        }
        if (script.step() == 2 && congratulationsUntil == 0 && frmMain.levelComplete) {
            congratulationsUntil = shell::flow.levelEndAt;
            seenAt = clock.Now();
        }
    });
    ASSERT_TRUE(script.Run(shell::OuterLoopPass));
    EXPECT_NEAR(static_cast<double>(congratulationsUntil - seenAt), 10000, 40);
    EXPECT_EQ(screens::highScores.scoreTable[0], 70000);
    EXPECT_EQ(screens::highScores.nameTable[0], "AAA");
    EXPECT_EQ(counters.level, 1);
    EXPECT_TRUE(fs::exists(screens::highScores.file.writeTo));
}

// Y returns to the menu, and the menu's Exit ends the program with status 0.
TEST_F(WholeGameTest, YToTheQuitQuestionReturnsToTheMenuWhoseExitEndsTheProgram) {
    auto playThenExit = [this] {
        KeyScript script(clock, 20);
        StartGame(script);
        Quit(script);
        script.Hold({}, 3).Tap({kKeyDown}, kTick, 3).Hold({kKeyReturn}, 1).Hold({}, 5);
        script.Run([] {
            for (;;) {
                shell::OuterLoopPass();
            }
        });
        std::_Exit(3);  // the script ran out: Exit was never reached
    };
    EXPECT_EXIT(playThenExit(), ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(fs::exists(screens::highScores.file.writeTo));
}

}  // namespace
