// The screens around a game as a player hears them: the menus silent, the shop silent but for
// its purchases, between the music of two level bands.
#include <gtest/gtest.h>

#include "common/scancodes.h"
#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "game/screens/shop.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/shell/main_menu.h"
#include "game/world/records.h"
#include "platform/clock.h"
#include "tests/support/hearing.h"
#include "tests/support/key_script.h"

namespace {

using common::kKeyDown;
using common::kKeyReturn;
using common::kKeyRight;
using common::kKeySpace;
using common::kKeyUp;
using test_support::HeardOutput;
using test_support::Hearing;
using test_support::KeyScript;
using test_support::kRepeatPumps;

// The scripted screens run as fast as they can; real time must pass for anything to be heard.
void LetTimePass(int) { platform::SleepMilliseconds(2.0); }

TEST(ScreensHearing, TheMenusAreSilentAfterAGame) {
    Hearing hearing("menus");
    audio::music.musicVolume = 100;
    shell::frmMain.cMFile = shell::MusicFileForLevel(1);
    audio::music.musicOn = true;
    audio::PlayMusic(shell::frmMain.cMFile);
    Hearing::Wait(0.5);
    // How every game ends.
    audio::music.musicOn = false;
    audio::StopOgg();
    // A loaded machine may run the output on past the wait before the stop is made.
    const double stoppedAt = Hearing::SecondsHeard();
    platform::FakeClock clock(900000);
    KeyScript script(clock, 10);
    // Into the options, a volume changed, back out, and a game started.
    script.Hold({}, 100)
        .Tap({kKeyDown}, kRepeatPumps).Tap({kKeyReturn}, 100)
        .Tap({kKeyRight}, kRepeatPumps).Tap({kKeyDown}, kRepeatPumps, 2).Tap({kKeyReturn}, 100)
        .Tap({kKeyUp}, kRepeatPumps).Hold({kKeyReturn}, 1)
        .Watch(LetTimePass);
    ASSERT_TRUE(script.Run(shell::MainMenu));
    const HeardOutput heard = hearing.Finish();

    const auto sounds = heard.Sounds();
    ASSERT_EQ(sounds.size(), 1u) << "the music, and nothing after it";
    EXPECT_LT(sounds[0].to, stoppedAt + 0.1) << "the music goes on after the game stopped it";
    EXPECT_GT(heard.Seconds() - sounds[0].to, 0.8) << "the menus were shown for too short a time";
}

// Completing the third level stops the music; the shop is silent until something is bought or
// refused; leaving it starts the next band's tune.
TEST(ScreensHearing, AVisitToTheShopHearsOnlyItsPurchases) {
    Hearing hearing("shop");
    platform::FakeClock clock(950000);
    audio::music.musicVolume = 100;
    audio::sound.sfxVolume = 0;
    world::ClearWorld();
    shell::flow = shell::GameFlow{};
    shell::counters = shell::GameCounters{};
    ASSERT_TRUE(shell::NewGame());
    shell::counters.level = 3;
    shell::counters.money = 150;
    shell::counters.health = 100;
    shell::frmMain.gameRunning = true;
    world::records.colObjects.clear();
    // Wait in the shop, buy Health Restore, wait, try again without the money, wait, leave.
    KeyScript script(clock, 10);
    script.HoldUntil({}, [] { return shell::counters.level == 4; })
        .Hold({}, 200)
        .Tap({kKeySpace}, 300, 2)
        .Tap({kKeyDown}, kRepeatPumps, screens::kShopExitLine)
        .Tap({kKeyReturn}, 300)
        .Watch(LetTimePass);
    ASSERT_TRUE(script.Run([] {
        while (shell::frmMain.gameRunning && shell::counters.level == 3) {
            shell::GameFrame();
        }
    }));
    Hearing::Wait(0.5);
    const bool nextBand = shell::frmMain.cMFile.ends_with("003.ogg");
    audio::music.musicOn = false;
    audio::StopOgg();
    const HeardOutput heard = hearing.Finish();

    EXPECT_TRUE(nextBand) << shell::frmMain.cMFile;
    EXPECT_EQ(shell::counters.health, 200);
    const auto sounds = heard.Sounds();
    // The refusal is two buzzes, "uh-uh", with a breath between them.
    ASSERT_EQ(sounds.size(), 5u) << "music, buy, refusal, music";
    EXPECT_GT(sounds[1].from - sounds[0].to, 0.3) << "the shop opens in silence";
    EXPECT_NEAR(sounds[1].to - sounds[1].from, 0.55, 0.05) << "buy.wav";
    EXPECT_NEAR(sounds[3].to - sounds[2].from, 0.40, 0.05) << "denied.wav";
    EXPECT_GT(sounds[4].to - sounds[4].from, 0.4) << "the next band's tune";
}

}  // namespace
