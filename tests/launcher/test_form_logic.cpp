#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "common/config_file.h"
#include "launcher/form_logic.h"
#include "launcher_test_support.h"

namespace {

using launcher::StartOutcome;
using launcher_test::kLayout;
using Boxes = std::array<std::string, 7>;

// X11 keycodes (evdev + 8) of the keys the tests press.
constexpr std::uint32_t kXEscape = 9, kXTab = 23, kXW = 25, kXA = 38, kXS = 39, kXD = 40, kXSpace = 65,
                        kXRightCtrl = 105, kXUp = 111;

// Hexadecimal codes, a quoted comma, and A listed twice (the first description stays).
constexpr const char* kKeysTxt =
    "01,Escape\r\n0F,Tab\r\n11,W\r\n1E,A\r\n1F,S\r\n20,D\r\n39,Space\r\nC8,Up Arrow\r\n"
    "D0,Down Arrow\r\nCB,Left Arrow\r\nCD,Right Arrow\r\n33,\"Comma (,)\"\r\n1E,Second A\r\n";

// The default bindings as the launcher writes them.
constexpr const char* kDefaultLayout = "200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n0\r\r\n";
const Boxes kDefaultBoxes = {"200", "208", "203", "205", "57", "30", "32"};

// A program folder and the dialog's state on it, its message boxes and game starts recorded.
class Launcher : public ::testing::Test {
protected:
    void Reset() {
        state = launcher::LauncherState{};
        launcher::FindPlaces(state, folder.Path());
    }
    // The state right after the dialog has loaded its files from the folder.
    void Load() {
        Reset();
        launcher::LoadKeyNames(state);
        launcher::LoadConfig(state);
        launcher::RefreshDescriptions(state);
    }
    // Config.txt holding text, read by LoadConfig alone.
    std::vector<std::string> LoadConfigText(const std::string& text) {
        folder.Write("Config.txt", text);
        Reset();
        return launcher::LoadConfig(state);
    }

    // Presses a key and lets the timer poll a few times, as holding it would; true on a capture.
    bool Hold(std::uint32_t xKeycode) {
        launcher::KeyboardPress(state, xKeycode);
        bool captured = false;
        for (int tick = 0; tick < 5; ++tick) {
            captured = launcher::Timer1Timer(state) || captured;
        }
        return captured;
    }
    void Release(std::uint32_t xKeycode) {
        launcher::KeyboardRelease(state, xKeycode);
        launcher::Timer1Timer(state);
    }
    bool Tap(std::uint32_t xKeycode) {
        const bool captured = Hold(xKeycode);
        Release(xKeycode);
        return captured;
    }
    void Focus(int box) { launcher::TxtKeysGotFocus(state, box); }

    launcher_test::TempFolder folder;
    launcher_test::Recorder recorder;
    launcher::LauncherState state;
};

// The dialog loaded with kKeysTxt and no Config.txt: the default bindings.
class LauncherCapture : public Launcher {
protected:
    void SetUp() override {
        folder.Write("keys.txt", kKeysTxt);
        Load();
    }
};

TEST(LauncherKeyboard, NativeKeycodesMapThroughTheScanCodeTable) {
    struct Case {
        std::uint32_t native;
        int code;
    };
    const Case cases[] = {
        {kXEscape, 1}, {kXA, 30},
        // Extended keys differ between the two numberings: this is where a plain offset breaks.
        {kXUp, 200}, {kXRightCtrl, 157},
        // No native code (platforms without one), codes below the offset and huge codes are no key.
        {0, 0}, {8, 0}, {8 + 256, 0}, {0xFFFFFFFFu, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(launcher::ScanCodeFromNative(c.native), c.code) << "native " << c.native;
    }
    // Press, release and clearing are checked through the real dialog (widget tests).
    launcher::LauncherState state;
    launcher::KeyboardPress(state, 0);
    EXPECT_EQ(state.keyState, decltype(state.keyState){});
}

TEST_F(LauncherCapture, AKeyCapturesOnceUntilAnotherKeyIsCapturedAndTabNeverCounts) {
    Focus(2);
    EXPECT_TRUE(Hold(kXA));
    EXPECT_EQ(state.txtKeys[2], "30");
    // Held on into another box, or released and pressed again there: still the last captured key.
    Focus(3);
    EXPECT_FALSE(Tap(kXA));
    EXPECT_FALSE(Tap(kXA));
    EXPECT_EQ(state.txtKeys[3], "205");
    // Tab is never captured and does not count as another key either.
    EXPECT_FALSE(Tap(kXTab));
    EXPECT_FALSE(Tap(kXA));
    // Once S was captured, A captures again.
    EXPECT_TRUE(Tap(kXS));
    EXPECT_TRUE(Tap(kXA));
    EXPECT_EQ(state.txtKeys[3], "30");
    EXPECT_EQ(state.lblDesc[3], "A");
}

// Before any box had the focus, keys go into the Up box.
TEST_F(LauncherCapture, TheLowestCodeDownWinsBeforeAnyBoxHadTheFocus) {
    EXPECT_FALSE(launcher::Timer1Timer(state));  // no key down: nothing
    EXPECT_FALSE(state.isDirty);
    launcher::KeyboardPress(state, kXUp);
    launcher::KeyboardPress(state, kXSpace);
    launcher::KeyboardPress(state, kXD);
    EXPECT_TRUE(launcher::Timer1Timer(state));
    EXPECT_EQ(state.txtKeys[0], "32");
    EXPECT_TRUE(state.isDirty);
    // D let go while the others are held: Space (57) is now the lowest.
    launcher::KeyboardRelease(state, kXD);
    EXPECT_TRUE(launcher::Timer1Timer(state));
    EXPECT_EQ(state.txtKeys[0], "57");
    EXPECT_EQ(state.lblDesc[0], "Space");
    // Escape, code 1, is the lowest of all and can be bound like any key.
    launcher::KeyboardPress(state, kXEscape);
    EXPECT_TRUE(launcher::Timer1Timer(state));
    EXPECT_EQ(state.txtKeys[0], "1");
    for (const std::uint32_t key : {kXUp, kXSpace, kXEscape}) Release(key);
    EXPECT_EQ(state.currentKey, 1);  // all released, the last key stays the current one
}

TEST_F(LauncherCapture, ACodeWithoutDescriptionKeepsTheLabelsText) {
    Focus(4);
    EXPECT_TRUE(Hold(kXRightCtrl));  // 157 is not in this keys.txt
    EXPECT_EQ(state.txtKeys[4], "157");
    launcher::RefreshDescriptions(state);  // as on a tab change
    EXPECT_EQ(state.lblDesc[4], "Space");
}

TEST_F(LauncherCapture, KeyNamesAreKeyedByDecimalTextAndTheFirstDuplicateStays) {
    const auto warnings = launcher::LoadKeyNames(state);
    EXPECT_EQ(state.lblDesc[0], "Up Arrow");
    ASSERT_NE(launcher::FindDescription(state, "30"), nullptr);
    EXPECT_EQ(*launcher::FindDescription(state, "30"), "A");
    // The lookup is by the box's exact text, as the map's keys are.
    for (const char* text : {"0200", "C8", ""}) {
        EXPECT_EQ(launcher::FindDescription(state, text), nullptr) << text;
    }
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("keys.txt: line 13"), std::string::npos) << warnings[0];
}

TEST_F(Launcher, MissingKeyNamesWarnAndLeaveTheNumbers) {
    Load();
    const auto warnings = launcher::LoadKeyNames(state);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find((folder.Path() / "keys.txt").string()), std::string::npos) << warnings[0];
    EXPECT_EQ(state.txtKeys[0], "200");
    EXPECT_EQ(state.lblDesc[0], "");
}

TEST_F(Launcher, PipesOrFoldersInPlaceOfTheFilesNeitherBlockNorBreakTheDialog) {
    ASSERT_EQ(::mkfifo((folder.Path() / "keys.txt").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.Path() / "Config.txt");
    Reset();
    const auto keyWarnings = launcher::LoadKeyNames(state);
    const auto configWarnings = launcher::LoadConfig(state);
    ASSERT_EQ(keyWarnings.size() + configWarnings.size(), 2u);
    EXPECT_NE(keyWarnings.at(0).find("keys.txt: not a regular file"), std::string::npos) << keyWarnings[0];
    EXPECT_NE(configWarnings.at(0).find("Config.txt: not a regular file"), std::string::npos) << configWarnings[0];
    EXPECT_EQ(state.txtKeys[0], "200");
}

TEST_F(Launcher, MissingOrShortConfigKeepsTheDefaultsForWhatIsNotThere) {
    Reset();
    state.chJoy = true;
    auto warnings = launcher::LoadConfig(state);
    EXPECT_EQ(state.txtKeys, kDefaultBoxes);
    EXPECT_FALSE(state.chJoy);
    EXPECT_FALSE(state.isDirty);
    ASSERT_EQ(warnings.size(), 1u);

    warnings = LoadConfigText("16\r\r\n17\r\r\n");
    EXPECT_EQ(state.txtKeys, (Boxes{"16", "17", "203", "205", "57", "30", "32"}));
    EXPECT_FALSE(state.chJoy);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("only 2 of 8"), std::string::npos) << warnings[0];
}

TEST_F(Launcher, ConfigHasOneValuePerLineWhateverTheLineEnding) {
    for (const char* end : {"\r\r\n", "\r\n", "\n", "\r"}) {
        std::string text;
        for (const char* value : {"16", "17", "18", "19", "20,extra", "21", "22", "1"}) {
            text += std::string(value) + end;
        }
        EXPECT_TRUE(LoadConfigText(text).empty());
        EXPECT_EQ(state.txtKeys, (Boxes{"16", "17", "18", "19", "20", "21", "22"}))
            << "line end " << testing::PrintToString(end);
        EXPECT_TRUE(state.chJoy);
    }
}

// Junk after the eight lines of the old file: the new file must not keep any of it.
TEST_F(Launcher, SaveReplacesTheFileWithTheExactBytesTheGameReadsBack) {
    folder.Write("Config.txt", std::string(kLayout) + std::string(500, 'x'));
    Reset();
    state.txtKeys = {"16", "30", "31", "32", "57", "44", "157"};
    state.chJoy = true;
    std::string error;
    ASSERT_TRUE(launcher::SaveConfig(state, &error)) << error;
    const std::string bytes = folder.Read("Config.txt");
    EXPECT_EQ(bytes, "16\r\r\n30\r\r\n31\r\r\n32\r\r\n57\r\r\n44\r\r\n157\r\r\n1\r\r\n");

    const common::ControlsReadResult game = common::ParseControls(bytes, "Config.txt");
    EXPECT_TRUE(game.warnings.empty());
    EXPECT_EQ(game.controls.keyCodes, (std::array<std::int16_t, 7>{16, 30, 31, 32, 57, 44, 157}));
    EXPECT_TRUE(game.controls.joystickEnabled);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);  // no temporary
}

TEST_F(Launcher, StartRefusesDuplicatesComparingTheExactTextsOfEveryPair) {
    state.txtKeys = {"1", "2", "3", "4", "5", "6", "07"};
    EXPECT_FALSE(launcher::HasDuplicateBindings(state));
    state.txtKeys[6] = "6";  // the last pair
    EXPECT_TRUE(launcher::HasDuplicateBindings(state));
    state.txtKeys = {"1", "1", "3", "4", "5", "6", "7"};  // the first pair
    EXPECT_TRUE(launcher::HasDuplicateBindings(state));
}

// With the frame counter checked, through the real dialog (widget tests).
TEST_F(Launcher, StartWritesTheFileEvenWithoutChangesAndPassesNoArgumentsWhenTheCounterIsOff) {
    Load();  // no Config.txt: the defaults
    recorder.startSucceeds = false;  // a game that cannot start is named in a message
    EXPECT_EQ(launcher::CmdSaveClick(state, recorder.Services()), StartOutcome::kStartFailed);
    ASSERT_EQ(recorder.criticals.size(), 1u);
    EXPECT_NE(recorder.criticals[0].find((folder.Path() / "corvane").string()), std::string::npos)
        << recorder.criticals[0];
    EXPECT_NE(recorder.criticals[0].find("No such file."), std::string::npos);

    recorder.startSucceeds = true;
    EXPECT_EQ(launcher::CmdSaveClick(state, recorder.Services()), StartOutcome::kStarted);
    EXPECT_EQ(recorder.criticals.size(), 1u);
    EXPECT_EQ(folder.Read("Config.txt"), kDefaultLayout);
    ASSERT_EQ(recorder.starts.size(), 2u);
    EXPECT_EQ(recorder.starts[1].workingDirectory, folder.Path());
    EXPECT_EQ(recorder.starts[1].arguments, std::vector<std::string>{});
}

TEST_F(Launcher, AFailedSaveSaysSoStartsNothingAndKeepsTheDialogOpenOnExit) {
    Load();
    state.playerFiles.config.writeTo = folder.Path() / "gone" / "Config.txt";
    EXPECT_EQ(launcher::CmdSaveClick(state, recorder.Services()), StartOutcome::kSaveFailed);
    ASSERT_EQ(recorder.criticals.size(), 1u);
    EXPECT_NE(recorder.criticals[0].find("gone/Config.txt"), std::string::npos) << recorder.criticals[0];
    EXPECT_TRUE(recorder.starts.empty());

    launcher::ChJoyClick(state, true);
    recorder.answerYes = true;
    EXPECT_FALSE(launcher::CmdCancelClick(state, recorder.Services()));
    EXPECT_EQ(recorder.questions.size(), 1u);
    EXPECT_EQ(recorder.criticals.size(), 2u);
}

TEST_F(Launcher, ExitWithYesWritesEvenDuplicateBindings) {
    Load();
    Focus(1);
    ASSERT_TRUE(Tap(kXUp));  // Down now on 200, like Up
    recorder.answerYes = true;
    EXPECT_TRUE(launcher::CmdCancelClick(state, recorder.Services()));
    EXPECT_EQ(recorder.questions.size(), 1u);
    EXPECT_TRUE(recorder.criticals.empty());
    EXPECT_EQ(folder.Read("Config.txt"), "200\r\r\n200\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n0\r\r\n");
    EXPECT_TRUE(recorder.starts.empty());
}

}  // namespace
