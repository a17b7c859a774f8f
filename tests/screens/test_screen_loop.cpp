// What every menu screen shares, tried on each of them: the background picture survives a
// device reset, a missing picture leaves a black background, and the golden frames.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/scancodes.h"
#include "common/scores_file.h"
#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "game/screens/high_scores.h"
#include "game/screens/screen_loop.h"
#include "game/screens/shop.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/main_menu.h"
#include "platform/app.h"
#include "platform/device.h"
#include "tests/support/golden.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

namespace fs = std::filesystem;
using common::kKeyDown;
using common::kKeyReturn;
using common::kKeyUp;
using test_support::KeyScript;

struct Screen {
    const char* name;
    void (*run)();
    int downsToLeave;  // Down presses from the first line to the one that leaves
};

void RunInitials() { screens::EnterInitials(); }

const Screen kScreens[] = {
    {"main menu", shell::MainMenu, 0},       {"options", shell::OptionsScreen, 2},
    {"shop", screens::ShowShop, 8},          {"high-score table", screens::ShowHighScores, 0},
    {"initials entry", RunInitials, 0},
};

// Down presses one repeat tick apart, then Return, then a pass to let go.
void Leave(KeyScript& script, int downs) {
    for (int i = 0; i < downs; ++i) {
        script.Hold({kKeyDown}, 1).Hold({}, 26);
    }
    script.Hold({kKeyReturn}, 1).Hold({}, 2);
}

// The top 160 rows of the last frame: background only on every screen.
std::vector<std::uint16_t> TopOfFrame() {
    const auto& frame = platform::device.lastPresented;
    return {frame.begin(), frame.begin() + 160 * platform::kScreenWidth};
}

class ScreenLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        shell::counters = shell::GameCounters{};
        screens::SetTable(common::FirstScoreTable());
    }
    void TearDown() override { platform::SetProgramFolder(test_support::ProgramFolder()); }
    platform::FakeClock clock{300000};
};

TEST_F(ScreenLoopTest, EachScreenRebuildsItsBackgroundAfterTheDeviceIsReset) {
    for (const Screen& screen : kScreens) {
        std::vector<std::uint16_t> before, after;
        bool lost = false, rebuilt = false;
        KeyScript script(clock, 10);
        script.Hold({}, 20).Watch([&](int pump) {
            if (pump == 3) {
                before = TopOfFrame();
                platform::device_testing::LoseDevice();
            } else if (pump == 6) {
                lost = platform::TestCooperativeLevel() == platform::kErrDeviceLost && !shell::frmMain.menuSurface;
                platform::device_testing::RestoreDevice();
            } else if (pump == 20) {
                after = TopOfFrame();
                rebuilt = shell::frmMain.menuSurface && !shell::frmMain.surfacesLost;
            }
        });
        Leave(script, screen.downsToLeave);
        ASSERT_TRUE(script.Run(screen.run)) << screen.name;
        EXPECT_FALSE(lost) << screen.name << ": the surfaces are held until the reset drops them";
        EXPECT_TRUE(rebuilt) << screen.name;
        EXPECT_TRUE(before == after) << screen.name << ": the background differs after the reset";
        EXPECT_NE(std::count(after.begin(), after.end(), 0), static_cast<std::ptrdiff_t>(after.size()))
            << screen.name << ": a black background";
    }
}

TEST_F(ScreenLoopTest, AMissingPictureLeavesTheBackgroundBlackAndIsNamedOnce) {
    const fs::path empty = test_support::ScratchFolder("no-pictures");
    platform::SetProgramFolder(empty);
    std::vector<std::uint16_t> top;
    testing::internal::CaptureStderr();
    for (int visit = 0; visit < 2; ++visit) {
        for (const Screen& screen : {kScreens[1], kScreens[2]}) {
            KeyScript script(clock, 10);
            script.Hold({}, 2).Watch([&](int pump) {
                if (pump == 2) {
                    top = TopOfFrame();
                }
            });
            Leave(script, screen.downsToLeave);
            ASSERT_TRUE(script.Run(screen.run)) << screen.name;
            EXPECT_EQ(std::count(top.begin(), top.end(), 0), static_cast<std::ptrdiff_t>(top.size())) << screen.name;
        }
    }
    const std::string said = testing::internal::GetCapturedStderr();
    platform::SetProgramFolder(test_support::ProgramFolder());
    fs::remove_all(empty);
    for (const fs::path& picture : {empty / "Menu.bmp", empty / "Shop.bmp"}) {
        const auto first = said.find(picture.string());
        EXPECT_NE(first, std::string::npos) << said;
        EXPECT_EQ(said.find(picture.string(), first + 1), std::string::npos) << said;
    }
}

// The five screens as a player first sees them, each with its highlight somewhere inside.
TEST_F(ScreenLoopTest, GoldenFrames) {
    audio::music.musicVolume = 85;
    audio::sound.sfxVolume = -400;
    shell::counters.money = 1234;
    struct Shot {
        const char* golden;
        const Screen& screen;
        int downs;      // Down presses before the picture
        int leaveDowns; // and after it, to the line that leaves
        bool up;        // Up back to the first line before leaving
        int wait;       // passes from the last Down to the picture
    };
    // The main menu's highlighted item is caught turned by 0.2 radians: its steps come at
    // passes 1, 12, 23 ... (110 ms apart), 0.1, 0.2, 0.3, 0 and round again.
    const Shot shots[] = {
        {"screen_main_menu", kScreens[0], 1, 0, true, 33},  {"screen_options", kScreens[1], 1, 1, false, 10},
        {"screen_shop", kScreens[2], 3, 5, false, 10},      {"screen_high_scores", kScreens[3], 0, 0, false, 10},
        {"screen_initials", kScreens[4], 0, 0, false, 10},
    };
    for (const Shot& shot : shots) {
        common::Image picture;
        KeyScript script(clock, 10);
        for (int i = 0; i < shot.downs; ++i) {
            script.Hold({kKeyDown}, 1).Hold({}, 26);
        }
        script.Hold({}, shot.wait + 2).Watch([&, at = shot.downs * 27 + shot.wait](int pump) {
            if (shot.screen.run == RunInitials && pump == 1) {
                screens::highScores.entry.letters = {'B', 'K', 'A'};
                screens::highScores.entry.position = 1;
                screens::highScores.entry.letterIndex = 10;
            }
            if (pump == at) {
                picture = test_support::FrameToImage(platform::device.lastPresented, platform::kScreenWidth,
                                                     platform::kScreenHeight);
            }
        });
        if (shot.up) {
            script.Hold({kKeyUp}, 1).Hold({}, 26);
        }
        Leave(script, shot.leaveDowns);
        ASSERT_TRUE(script.Run(shot.screen.run)) << shot.golden;
        EXPECT_TRUE(test_support::MatchesGolden(picture, shot.golden));
    }
}

}  // namespace
