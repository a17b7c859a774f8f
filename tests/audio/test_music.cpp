// The music as a player hears it: the timer's restart that loops it, the volume taken at each
// start, and a file that cannot be played.
#include <gtest/gtest.h>

#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "game/shell/frm_main.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "tests/audio/test_sounds.h"
#include "tests/support/headless.h"
#include "tests/support/hearing.h"

namespace {

using test_support::HeardOutput;
using test_support::Hearing;

void StartMusic(const std::filesystem::path& file, std::int32_t volume) {
    shell::frmMain.cMFile = file.string();
    audio::music.musicVolume = volume;
    audio::music.musicOn = true;
    audio::PlayMusic(shell::frmMain.cMFile);
}

void EndMusic() {
    audio::music.musicOn = false;
    audio::StopOgg();
}

// The file plays once; the 250 ms timer, which runs in every frame's message pump, starts it
// again, also while the window is minimised.
TEST(MusicHearing, ATuneRestartsWithinATimerTickOfItsEndEvenMinimised) {
    const auto tune = audio_test::WriteFile("short.ogg", audio_test::ToneOgg(0.5, 0.5));
    Hearing hearing("restart");
    StartMusic(tune, 100);
    platform::window.minimised = true;
    const platform::Tick end = platform::RealTickCount() + 2500;
    while (platform::RealTickCount() < end) {
        shell::GameFrame();
    }
    platform::window.minimised = false;
    EndMusic();
    const HeardOutput heard = hearing.Finish();

    // A restart right at a tick can join two plays into one stretch; what counts is the silence
    // between them (one tick of the timer and the next pump, with room for a busy machine) and
    // that the plays go on.
    const auto plays = heard.Sounds(0.01);
    double played = 0.0;
    for (std::size_t i = 0; i < plays.size(); ++i) {
        played += plays[i].to - plays[i].from;
        if (i + 1 < plays.size()) {
            EXPECT_LT(plays[i + 1].from - plays[i].to, 0.35) << "restart " << i;
        }
    }
    EXPECT_GT(played, 1.4) << "three plays of half a second";
}

// A volume chosen while music plays waits for the next PlayMusic, which starts the file from its
// beginning even when it is the one already playing.
TEST(MusicHearing, AVolumeChangeWaitsForTheNextStartWhichBeginsTheFileAgain) {
    const auto tune = audio_test::WriteFile("tone.ogg", audio_test::ToneOgg(0.4, 1.0));
    Hearing hearing("music-volume");
    StartMusic(tune, 100);
    Hearing::Wait(0.2);
    audio::music.musicVolume = 50;
    Hearing::Wait(0.4);
    audio::StopOgg();
    audio::PlayMusic(shell::frmMain.cMFile);
    Hearing::Wait(0.6);
    EndMusic();
    const HeardOutput heard = hearing.Finish();

    const auto tones = heard.Sounds(0.01);
    ASSERT_EQ(tones.size(), 2u);
    // Started again 0.6 s in, during the file's silence: playing on, the tone would come back only
    // after the file's end, a second in.
    EXPECT_LT(tones[1].from - tones[0].from, 0.85);
    const double middle = (tones[0].from + tones[0].to) / 2;
    const double early = heard.Rms(tones[0].from + 0.02, middle), late = heard.Rms(middle, tones[0].to - 0.02);
    EXPECT_NEAR(late / early, 1.0, 0.03) << "the playing tune kept its volume";
    EXPECT_NEAR(heard.Rms(tones[1].from + 0.02, tones[1].to - 0.02) / heard.Rms(tones[0].from + 0.02, tones[0].to - 0.02),
                0.5, 0.03);
}

TEST(MusicFailures, ARefusedTuneIsNamedOnceAndNotTriedAgainUntilTheNextPlayMusic) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    const auto good = audio_test::ToneOgg(2.0, 2.0);
    const auto tune = audio_test::WriteFile("refused.ogg", {good.begin(), good.begin() + good.size() / 2});
    testing::internal::CaptureStderr();
    StartMusic(tune, 100);
    audio_test::WriteFile("refused.ogg", good);
    Hearing::Wait(0.6);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(audio::OggIsPlaying(), 0) << "tried again by the timer";
    const std::size_t first = said.find(tune.string());
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(tune.string(), first + 1), std::string::npos) << said;
    audio::PlayMusic(shell::frmMain.cMFile);
    EXPECT_EQ(audio::OggIsPlaying(), 1);
    EndMusic();
}

// Once music is no longer wanted the timer stops at its next tick and leaves what plays alone.
TEST(MusicTimer, DiesOutOnceMusicIsNoLongerWanted) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    StartMusic(audio_test::WriteFile("long.ogg", audio_test::ToneOgg(3.0, 3.0)), 100);
    EXPECT_TRUE(platform::WindowTimerEnabled(audio::music.tmrVOGG));
    audio::music.musicOn = false;
    Hearing::Wait(0.3);
    EXPECT_FALSE(platform::WindowTimerEnabled(audio::music.tmrVOGG));
    EXPECT_EQ(audio::OggIsPlaying(), 1);
    audio::StopOgg();
    EXPECT_EQ(audio::OggIsPlaying(), 0);
}

}  // namespace
