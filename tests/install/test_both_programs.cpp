// The launcher and the game on one tree and one home folder: the keys the launcher saves are the
// keys the game reads, wherever the choice of player files puts them, and an installed tree is
// never written.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

#include "game/input/controls.h"
#include "game/input/dinput.h"
#include "launcher/form_logic.h"
#include "platform/app.h"
#include "tests/launcher/launcher_test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kShippedLayout = "200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n0\r\r\n";

class BothPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        for (const fs::path& data : {Installed(), Portable()}) {
            fs::create_directories(data);
            root_.Write(data / "objects.dat", "kinds");
            root_.Write(data / "Config.txt", kShippedLayout);
            root_.Write(data / "Scores.dat", "50000,ACE\r\n");
            root_.Write(data / "keys.txt", "11,W\r\n");
        }
        fs::create_directories(root_.Path() / "usr/bin");
        fs::create_directories(Home());
        const char* home = std::getenv("HOME");
        savedHome_ = home == nullptr ? "" : home;
        ::setenv("HOME", Home().c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }
    void TearDown() override { ::setenv("HOME", savedHome_.c_str(), 1); }

    fs::path Installed() const { return root_.Path() / "usr/share/starwake"; }
    fs::path Portable() const { return root_.Path() / "portable"; }
    fs::path Home() const { return root_.Path() / "home"; }

    // The launcher opened from programFolder, with the given bindings saved through "&Start".
    launcher::LauncherState SaveFromLauncher(const fs::path& programFolder, const launcher::GameStart** started) {
        launcher::LauncherState state;
        launcher::FindPlaces(state, programFolder);
        launcher::LoadKeyNames(state);
        launcher::LoadConfig(state);
        state.txtKeys = {"17", "31", "30", "32", "29", "16", "18"};
        launcher::ChJoyClick(state, true);
        EXPECT_EQ(launcher::CmdSaveClick(state, recorder_.Services()), launcher::StartOutcome::kStarted);
        *started = recorder_.starts.empty() ? nullptr : &recorder_.starts.back();
        return state;
    }
    // The game started from programFolder, its start-up's choice of files and its key reading.
    static void StartGameFrom(const fs::path& programFolder) {
        platform::SetProgramFolder(programFolder);
        platform::ChoosePlayerFiles();
        input::dinput = input::DirectInputState{};
        input::LoadControls();
    }

    launcher_test::TempFolder root_;
    launcher_test::Recorder recorder_;
    std::string savedHome_;
};

TEST_F(BothPrograms, TheKeysTheLauncherSavesAreTheKeysTheGameReads) {
    struct Layout {
        fs::path programFolder;
        fs::path config;  // where both must read and write Config.txt
    };
    const Layout layouts[] = {{root_.Path() / "usr/bin", Home() / ".config/starwake/Config.txt"},
                              {Portable(), Portable() / "Config.txt"}};
    for (const Layout& layout : layouts) {
        const launcher::GameStart* started = nullptr;
        const launcher::LauncherState state = SaveFromLauncher(layout.programFolder, &started);
        ASSERT_NE(started, nullptr);
        EXPECT_EQ(started->program, layout.programFolder / "corvane");
        EXPECT_EQ(state.keyNames.size(), 1u);  // keys.txt came from the data folder
        EXPECT_EQ(state.playerFiles.config.writeTo, layout.config);

        StartGameFrom(layout.programFolder);
        EXPECT_EQ(platform::app.playerFiles.config.readFrom, layout.config);
        EXPECT_EQ(platform::app.playerFiles.scores.writeTo, state.playerFiles.scores.writeTo);
        EXPECT_EQ(platform::DataFolder(), state.dataFolder);
        const std::array<std::int16_t, 7> bound = {17, 31, 30, 32, 29, 16, 18};
        EXPECT_TRUE(std::equal(bound.begin(), bound.end(), input::dinput.keyCodes.begin()));
        EXPECT_TRUE(input::dinput.joystickEnabled);
    }
    EXPECT_EQ(root_.Read(Installed() / "Config.txt"), kShippedLayout);
    EXPECT_EQ(root_.Read(Home() / ".local/share/starwake/Scores.dat"), "50000,ACE\r\n");
    EXPECT_FALSE(fs::exists(Home() / ".config/starwake/Scores.dat"));
}

TEST_F(BothPrograms, AHomeThatCannotBeWrittenIsSaidAndBothGoOnWithTheShippedKeys) {
    const fs::path notAFolder = root_.Path() / "home-file";
    root_.Write(notAFolder, "");
    ::setenv("HOME", notAFolder.c_str(), 1);

    const launcher::GameStart* started = nullptr;
    SaveFromLauncher(root_.Path() / "usr/bin", &started);
    EXPECT_NE(started, nullptr);  // the game starts all the same
    ASSERT_EQ(recorder_.criticals.size(), 1u);
    EXPECT_NE(recorder_.criticals[0].find(notAFolder.string()), std::string::npos) << recorder_.criticals[0];
    EXPECT_EQ(root_.Read(Installed() / "Config.txt"), kShippedLayout);

    StartGameFrom(root_.Path() / "usr/bin");
    EXPECT_FALSE(platform::app.playerFiles.notes.empty());
    EXPECT_EQ(platform::app.playerFiles.config.readFrom, Installed() / "Config.txt");
    EXPECT_TRUE(platform::app.playerFiles.scores.writeTo.empty());
    EXPECT_EQ(input::dinput.keyCodes[0], 200) << "the shipped keys";
}

}  // namespace
