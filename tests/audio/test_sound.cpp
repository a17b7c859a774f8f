// The game's sound effects as a player hears them: slots, volumes, the laser at its call site,
// files that cannot be played, and a machine without a sound device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "common/sound_levels.h"
#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_flow.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/sound.h"
#include "platform/sound_files.h"
#include "tests/audio/test_sounds.h"
#include "tests/support/flights.h"
#include "tests/support/headless.h"
#include "tests/support/hearing.h"

namespace {

using test_support::HeardOutput;
using test_support::Hearing;

// The level a constant sound plays at in the middle of a stretch, as a share of full scale.
double LevelAt(const HeardOutput& heard, const HeardOutput::Stretch& stretch) {
    const double middle = (stretch.from + stretch.to) / 2;
    return heard.Rms(middle - 0.02, middle + 0.02);
}

TEST(SoundHearing, ALaserShotReachesTheOutput) {
    Hearing hearing("laser");
    platform::FakeClock clock(300000);
    platform::ScriptKeyboard(true);
    // The level's music plays, silent, so that only the effects are heard.
    audio::music.musicVolume = 0;
    audio::SetOggVolume(0);
    world::ClearWorld();
    shell::flow = shell::GameFlow{};
    ASSERT_TRUE(shell::NewGame());
    shell::LoadLaserSound();
    shell::frmMain.gameRunning = true;
    while (shell::frmMain.bannerShowing || shell::flow.bannerEndAt == 0) {
        shell::GameFrame();
        clock.Advance(17);
    }
    Hearing::Wait(0.3);
    world::ClearWorld();  // nothing left to collide with and explode
    platform::ScriptKey(57, true);
    shell::GameFrame();
    platform::ScriptKey(57, false);
    Hearing::Wait(0.5);
    platform::ScriptKeyboard(false);
    audio::StopOgg();
    const HeardOutput heard = hearing.Finish();

    const auto sounds = heard.Sounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_GT(sounds[0].from, 0.2);
    // It is the laser's sound, whole and at full volume.
    std::string error;
    const auto laser = platform::DecodeSoundBytes(
        *platform::ReadSoundFile(test_support::ProgramFolder() / "sounds" / "Laser.wav", 1u << 20, &error),
        platform::SoundFileType::kWav, &error);
    ASSERT_TRUE(laser) << error;
    EXPECT_NEAR(sounds[0].to - sounds[0].from, laser->size() / 2 / 44100.0, 0.02);
    EXPECT_NEAR(common::Decibels(heard.Rms(sounds[0].from, sounds[0].to)),
                common::Decibels(common::RmsLevel(*laser)), 1.0);
}

// An explosion loaded again while one plays stops it and starts over; the coin in its own slot
// plays on under both.
TEST(SoundHearing, EachSlotPlaysOneSoundAtATime) {
    const std::string boom = audio_test::WriteFile("boom.wav", audio_test::LevelWav(8000, 1.0)).string();
    const std::string coin = audio_test::WriteFile("coin.wav", audio_test::LevelWav(2000, 2.0)).string();
    Hearing hearing("slots");
    audio::LoadSound(coin, 0, false, audio::kCoinSlot, false);
    Hearing::Wait(0.2);
    audio::LoadSound(boom, 0, false, audio::kExplosionSlot, false);
    Hearing::Wait(0.3);
    audio::LoadSound(boom, 0, false, audio::kExplosionSlot, false);
    Hearing::Wait(2.0);
    const HeardOutput heard = hearing.Finish();

    const auto loud = heard.Sounds(0.2);  // the explosion over the coin
    ASSERT_EQ(loud.size(), 1u);
    EXPECT_NEAR(loud[0].to - loud[0].from, 1.3, 0.1) << "the second explosion starts over";
    EXPECT_NEAR(heard.Peak(0, heard.Seconds()), 10000 / 32768.0, 0.001) << "two explosions at once";
    const auto any = heard.Sounds();
    ASSERT_EQ(any.size(), 1u);
    EXPECT_NEAR(any[0].to - any[0].from, 2.0, 0.1) << "the coin plays on";
    EXPECT_NEAR(heard.Rms(loud[0].to + 0.1, any[0].to - 0.1), 2000 / 32768.0, 0.001);
}

// The effects volume, in hundredths of a decibel, is applied when a file is loaded: -2500 plays
// 25 dB down, not silent; the laser keeps the volume it was loaded with, and is restarted in place.
TEST(SoundHearing, TheVolumeIsAppliedWhenAFileIsLoaded) {
    const std::string level = audio_test::WriteFile("level.wav", audio_test::LevelWav(16000, 0.3)).string();
    Hearing hearing("volume");
    audio::sound.sfxVolume = -2500;
    audio::LoadSound(level, audio::sound.sfxVolume, false, audio::kExplosionSlot, false);
    audio::LoadSound(level, audio::sound.sfxVolume, false, audio::kLaserSlot, true);
    Hearing::Wait(0.5);
    audio::sound.sfxVolume = 0;
    audio::LoadSound(level, audio::sound.sfxVolume, false, audio::kExplosionSlot, false);
    Hearing::Wait(0.5);
    // A new shot cuts the last one off.
    audio::ReplaySound(audio::kLaserSlot);
    Hearing::Wait(0.1);
    audio::ReplaySound(audio::kLaserSlot);
    Hearing::Wait(0.5);
    const HeardOutput heard = hearing.Finish();

    const auto sounds = heard.Sounds(0.01);
    ASSERT_EQ(sounds.size(), 3u);
    const double full = LevelAt(heard, sounds[1]);
    EXPECT_NEAR(full, 16000 / 32768.0, 0.001);
    EXPECT_NEAR(LevelAt(heard, sounds[0]) / full, 0.0562, 0.0056);
    EXPECT_NEAR(LevelAt(heard, sounds[2]) / full, 0.0562, 0.0056) << "the laser kept its volume";
    EXPECT_NEAR(heard.Peak(sounds[2].from, sounds[2].to) / full, 0.0562, 0.0056) << "two shots at once";
    EXPECT_NEAR(sounds[2].to - sounds[2].from, 0.4, 0.05);
    EXPECT_NEAR(audio::GainOfVolume(-100), 0.891, 0.001);
}

TEST(SoundSlots, LoadsThatNameNoSlotTakeTheNextInTurn) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    const std::string level = audio_test::WriteFile("turn.wav", audio_test::LevelWav(100, 0.01)).string();
    audio::sound.nextSoundSlot = 19;
    std::vector<int> slots;
    for (int i = 0; i < 3; ++i) {
        audio::LoadSound(level, 0, false, 0, true);
        slots.push_back(audio::sound.nextSoundSlot);
    }
    EXPECT_EQ(slots, (std::vector<int>{20, 0, 1}));
    EXPECT_TRUE(platform::SoundSlotLoaded(0) && platform::SoundSlotLoaded(20));
}

// Missing, hostile or foreign: the sound is silent, its slot empty, the file named once, and
// nothing else changes.
TEST(SoundFailures, AFileThatCannotBePlayedIsSilentAndNamedOnce) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    const std::string good = audio_test::WriteFile("good.wav", audio_test::LevelWav(1000, 2.0)).string();
    auto lying = audio_test::LevelWav(1000, 0.1);
    lying[40] = lying[41] = lying[42] = lying[43] = 0xFF;
    const std::string files[] = {audio_test::Scratch("Coin.wav").string(),
                                 audio_test::WriteFile("lying.wav", lying).string(),
                                 audio_test::WriteFile("tune.wav", audio_test::ToneOgg(0.1, 0.1)).string()};
    audio::LoadSound(good, 0, false, audio::kExplosionSlot, false);
    for (const std::string& file : files) {
        testing::internal::CaptureStderr();
        audio::LoadSound(good, 0, false, audio::kCoinSlot, true);
        audio::LoadSound(file, 0, false, audio::kCoinSlot, false);
        audio::LoadSound(file, 0, false, audio::kCoinSlot, false);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(platform::SoundSlotLoaded(audio::kCoinSlot)) << file;
        const std::size_t first = said.find(file);
        EXPECT_NE(first, std::string::npos) << said;
        EXPECT_EQ(said.find(file, first + 1), std::string::npos) << "named twice: " << said;
    }
    EXPECT_TRUE(platform::SoundSlotPlaying(audio::kExplosionSlot));
    audio::ReplaySound(audio::kCoinSlot);  // an empty slot replays nothing
    EXPECT_FALSE(platform::SoundSlotPlaying(audio::kCoinSlot));
}

// Without a sound device the game says so once and plays on in silence.
TEST(SoundFailures, WithoutASoundDeviceTheGamePlaysSilent) {
    ::setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    const auto run = test_support::RunCorvane(
        {"--timedemo", (std::filesystem::path(STARWAKE_SOURCE_DIR) / "tests" / "replays" / "level1.rpl").string()});
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(run.status, 0) << run.output;
    const std::size_t said = run.output.find("no sound device");
    EXPECT_NE(said, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("no sound device", said + 1), std::string::npos);
    EXPECT_EQ(run.output.find("stays silent"), std::string::npos) << "no file is blamed";
    EXPECT_NE(test_support::PrintedDigest(run.output), 0u);
}

}  // namespace
