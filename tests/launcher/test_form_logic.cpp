#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "common/config_file.h"
#include "launcher/form_logic.h"
#include "launcher_test_support.h"

namespace {

using launcher::LauncherState;
using launcher_test::kLayout;
using launcher_test::Recorder;
using launcher_test::TempFolder;

// X11 keycodes (evdev + 8) of the keys the tests press.
constexpr std::uint32_t kXEscape = 9;
constexpr std::uint32_t kXTab = 23;
constexpr std::uint32_t kXW = 25;
constexpr std::uint32_t kXA = 38;
constexpr std::uint32_t kXS = 39;
constexpr std::uint32_t kXD = 40;
constexpr std::uint32_t kXSpace = 65;
constexpr std::uint32_t kXRightCtrl = 105;
constexpr std::uint32_t kXUp = 111;

// Hexadecimal codes, a quoted comma, and A listed twice (the first description stays).
constexpr const char* kKeysTxt =
    "01,Escape\r\n0F,Tab\r\n11,W\r\n1E,A\r\n1F,S\r\n20,D\r\n39,Space\r\nC8,Up Arrow\r\n"
    "D0,Down Arrow\r\nCB,Left Arrow\r\nCD,Right Arrow\r\n33,\"Comma (,)\"\r\n1E,Second A\r\n";

// The default bindings as the launcher writes them.
constexpr const char* kDefaultLayout =
    "200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n0\r\r\n";

// The state right after the dialog has loaded its files from folder.
LauncherState Loaded(const TempFolder& folder) {
    LauncherState state;
    state.folder = folder.Path();
    launcher::LoadKeyNames(state);
    launcher::LoadConfig(state);
    launcher::RefreshDescriptions(state);
    return state;
}

// Presses a key and lets the timer poll a few times, as holding it would; true on a capture.
bool Hold(LauncherState& state, std::uint32_t xKeycode) {
    launcher::KeyboardPress(state, xKeycode);
    bool captured = false;
    for (int tick = 0; tick < 5; ++tick) {
        captured = launcher::Timer1Timer(state) || captured;
    }
    return captured;
}

void Release(LauncherState& state, std::uint32_t xKeycode) {
    launcher::KeyboardRelease(state, xKeycode);
    launcher::Timer1Timer(state);
}

void Tap(LauncherState& state, std::uint32_t xKeycode) {
    Hold(state, xKeycode);
    Release(state, xKeycode);
}

// --- Key events into the keyboard state ---------------------------------------------------

TEST(LauncherKeyboard, NativeKeycodesMapThroughTheScanCodeTable) {
    EXPECT_EQ(launcher::ScanCodeFromNative(kXEscape), 1);
    EXPECT_EQ(launcher::ScanCodeFromNative(kXA), 30);
    // Extended keys differ between the two numberings: this is where a plain offset breaks.
    EXPECT_EQ(launcher::ScanCodeFromNative(kXUp), 200);
    EXPECT_EQ(launcher::ScanCodeFromNative(kXRightCtrl), 157);
    // No native code (platforms without one), codes below the offset and huge codes are no key.
    EXPECT_EQ(launcher::ScanCodeFromNative(0), 0);
    EXPECT_EQ(launcher::ScanCodeFromNative(8), 0);
    EXPECT_EQ(launcher::ScanCodeFromNative(8 + 256), 0);
    EXPECT_EQ(launcher::ScanCodeFromNative(0xFFFFFFFFu), 0);
}

TEST(LauncherKeyboard, PressSetsReleaseClearsAndClearForgetsEverything) {
    LauncherState state;
    launcher::KeyboardPress(state, kXA);
    launcher::KeyboardPress(state, kXUp);
    launcher::KeyboardRelease(state, kXA);
    EXPECT_EQ(state.keyState[30], 0);
    EXPECT_NE(state.keyState[200], 0);
    // A key without a scan code touches nothing, in particular not code 0.
    launcher::KeyboardPress(state, 0);
    EXPECT_EQ(state.keyState[0], 0);
    launcher::KeyboardClear(state);
    EXPECT_EQ(state.keyState, decltype(state.keyState){});
}

// --- Capturing keys with the timer --------------------------------------------------------

TEST(LauncherCapture, AKeyGoesIntoTheUpBoxBeforeAnyBoxHadTheFocus) {
    TempFolder folder;
    folder.Write("keys.txt", kKeysTxt);
    LauncherState state = Loaded(folder);
    EXPECT_FALSE(launcher::Timer1Timer(state));  // no key down: nothing
    EXPECT_EQ(state.lblDesc[0], "Up Arrow");
    EXPECT_TRUE(Hold(state, kXW));
    EXPECT_EQ(state.txtKeys[0], "17");
    EXPECT_EQ(state.lblDesc[0], "W");
    EXPECT_EQ(state.currentKey, 17);
    EXPECT_EQ(state.lastCapturedKey, 17);
    EXPECT_TRUE(state.isDirty);
    // Released, the key stays the current one.
    Release(state, kXW);
    EXPECT_EQ(state.currentKey, 17);
}

TEST(LauncherCapture, HoldingAKeyCapturesItOnceEvenWhenTheFocusMoves) {
    TempFolder folder;
    folder.Write("keys.txt", kKeysTxt);
    LauncherState state = Loaded(folder);
    launcher::TxtKeysGotFocus(state, 2);
    EXPECT_TRUE(Hold(state, kXA));
    EXPECT_EQ(state.txtKeys[2], "30");
    launcher::TxtKeysGotFocus(state, 3);
    EXPECT_FALSE(Hold(state, kXA));
    // Released and pressed again in the new box: still the last captured key, still nothing.
    Release(state, kXA);
    EXPECT_FALSE(Hold(state, kXA));
    EXPECT_EQ(state.txtKeys[3], "205");
    EXPECT_EQ(state.lblDesc[3], "Right Arrow");
}

TEST(LauncherCapture, TheSameKeyCapturesAgainAfterAnotherKeyWasCaptured) {
    TempFolder folder;
    folder.Write("keys.txt", kKeysTxt);
    LauncherState state = Loaded(folder);
    Tap(state, kXA);
    launcher::TxtKeysGotFocus(state, 1);
    Tap(state, kXS);
    EXPECT_EQ(state.txtKeys[1], "31");
    Tap(state, kXA);
    EXPECT_EQ(state.txtKeys[1], "30");
    EXPECT_EQ(state.lblDesc[1], "A");
}

TEST(LauncherCapture, TabIsNeverCapturedAndDoesNotCountAsAnotherKey) {
    TempFolder folder;
    folder.Write("keys.txt", kKeysTxt);
    LauncherState state = Loaded(folder);
    EXPECT_FALSE(Hold(state, kXTab));
    EXPECT_EQ(state.currentKey, 15);
    EXPECT_FALSE(state.isDirty);
    Release(state, kXTab);

    Tap(state, kXD);
    EXPECT_EQ(state.txtKeys[0], "32");
    // Tab between two presses of D moves the focus but leaves D the last captured key.
    Tap(state, kXTab);
    launcher::TxtKeysGotFocus(state, 1);
    EXPECT_FALSE(Hold(state, kXD));
    EXPECT_EQ(state.txtKeys[1], "208");
}

TEST(LauncherCapture, TheLowestCodeDownWins) {
    TempFolder folder;
    folder.Write("keys.txt", kKeysTxt);
    LauncherState state = Loaded(folder);
    launcher::KeyboardPress(state, kXUp);
    launcher::KeyboardPress(state, kXSpace);
    launcher::KeyboardPress(state, kXD);
    EXPECT_TRUE(launcher::Timer1Timer(state));
    EXPECT_EQ(state.txtKeys[0], "32");
    // D let go while the others are held: Space (57) is now the lowest.
    launcher::KeyboardRelease(state, kXD);
    EXPECT_TRUE(launcher::Timer1Timer(state));
    EXPECT_EQ(state.txtKeys[0], "57");
    EXPECT_EQ(state.lblDesc[0], "Space");
    // Escape, code 1, is the lowest of all and can be bound like any key.
    launcher::KeyboardPress(state, kXEscape);
    EXPECT_TRUE(launcher::Timer1Timer(state));
    EXPECT_EQ(state.txtKeys[0], "1");
}

TEST(LauncherCapture, ACodeWithoutDescriptionKeepsTheLabelsText) {
    TempFolder folder;
    folder.Write("keys.txt", kKeysTxt);
    LauncherState state = Loaded(folder);
    launcher::TxtKeysGotFocus(state, 4);
    EXPECT_TRUE(Hold(state, kXRightCtrl));  // 157 is not in this keys.txt
    EXPECT_EQ(state.txtKeys[4], "157");
    EXPECT_EQ(state.lblDesc[4], "Space");
    // Refreshing on a tab change keeps it as well.
    launcher::RefreshDescriptions(state);
    EXPECT_EQ(state.lblDesc[4], "Space");
}

// --- keys.txt -------------------------------------------------------------------------------

TEST(LauncherKeyNames, HexCodesAreKeyedByDecimalTextAndTheFirstDuplicateStays) {
    TempFolder folder;
    folder.Write("keys.txt", kKeysTxt);
    LauncherState state;
    state.folder = folder.Path();
    const auto warnings = launcher::LoadKeyNames(state);
    ASSERT_NE(launcher::FindDescription(state, "200"), nullptr);
    EXPECT_EQ(*launcher::FindDescription(state, "200"), "Up Arrow");
    EXPECT_EQ(*launcher::FindDescription(state, "51"), "Comma (,)");
    EXPECT_EQ(*launcher::FindDescription(state, "30"), "A");
    // The lookup is by the box's exact text, as the map's keys are.
    EXPECT_EQ(launcher::FindDescription(state, "0200"), nullptr);
    EXPECT_EQ(launcher::FindDescription(state, "C8"), nullptr);
    EXPECT_EQ(launcher::FindDescription(state, ""), nullptr);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("keys.txt: line 13"), std::string::npos) << warnings[0];
}

TEST(LauncherKeyNames, MissingFileWarnsAndLeavesTheNumbers) {
    TempFolder folder;
    LauncherState state = Loaded(folder);
    const auto warnings = launcher::LoadKeyNames(state);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find((folder.Path() / "keys.txt").string()), std::string::npos) << warnings[0];
    EXPECT_EQ(state.txtKeys[0], "200");
    EXPECT_EQ(state.lblDesc[0], "");
}

TEST(LauncherKeyNames, PipesOrFoldersInPlaceOfTheFilesNeitherBlockNorBreakTheDialog) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder.Path() / "keys.txt").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.Path() / "Config.txt");
    LauncherState state;
    state.folder = folder.Path();
    const auto keyWarnings = launcher::LoadKeyNames(state);
    const auto configWarnings = launcher::LoadConfig(state);
    ASSERT_EQ(keyWarnings.size(), 1u);
    EXPECT_NE(keyWarnings[0].find("keys.txt: not a regular file"), std::string::npos) << keyWarnings[0];
    ASSERT_EQ(configWarnings.size(), 1u);
    EXPECT_NE(configWarnings[0].find("Config.txt: not a regular file"), std::string::npos) << configWarnings[0];
    EXPECT_EQ(state.txtKeys[0], "200");
}

// --- Config.txt: loading --------------------------------------------------------------------

TEST(LauncherLoadConfig, MissingFileGivesTheDefaultBindings) {
    TempFolder folder;
    LauncherState state;
    state.folder = folder.Path();
    state.chJoy = true;
    const auto warnings = launcher::LoadConfig(state);
    const std::array<std::string, 7> defaults = {"200", "208", "203", "205", "57", "30", "32"};
    EXPECT_EQ(state.txtKeys, defaults);
    EXPECT_FALSE(state.chJoy);
    EXPECT_FALSE(state.isDirty);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("Config.txt"), std::string::npos);
}

TEST(LauncherLoadConfig, OneValuePerLineWhateverTheLineEnding) {
    for (const char* end : {"\r\r\n", "\r\n", "\n", "\r"}) {
        TempFolder folder;
        std::string text;
        for (const char* value : {"16", "17", "18", "19", "20,extra", "21", "22", "1"}) {
            text += std::string(value) + end;
        }
        folder.Write("Config.txt", text);
        LauncherState state;
        state.folder = folder.Path();
        EXPECT_TRUE(launcher::LoadConfig(state).empty());
        const std::array<std::string, 7> expected = {"16", "17", "18", "19", "20", "21", "22"};
        EXPECT_EQ(state.txtKeys, expected) << "line end " << testing::PrintToString(end);
        EXPECT_TRUE(state.chJoy);
    }
}

TEST(LauncherLoadConfig, TheJoystickFromTheFileIsNoChangeButAClickIs) {
    TempFolder folder;
    folder.Write("Config.txt", kLayout);
    LauncherState state;
    state.folder = folder.Path();
    launcher::LoadConfig(state);
    EXPECT_TRUE(state.chJoy);
    EXPECT_FALSE(state.isDirty);
    EXPECT_FALSE(state.isLoading);
    launcher::ChJoyClick(state, false);
    EXPECT_FALSE(state.chJoy);
    EXPECT_TRUE(state.isDirty);
}

TEST(LauncherLoadConfig, ShortFileKeepsDefaultsForTheMissingLines) {
    TempFolder folder;
    folder.Write("Config.txt", "16\r\r\n17\r\r\n");
    LauncherState state;
    state.folder = folder.Path();
    const auto warnings = launcher::LoadConfig(state);
    const std::array<std::string, 7> expected = {"16", "17", "203", "205", "57", "30", "32"};
    EXPECT_EQ(state.txtKeys, expected);
    EXPECT_FALSE(state.chJoy);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("only 2 of 8"), std::string::npos) << warnings[0];
}

TEST(LauncherLoadConfig, JoystickLineIsReadAsTheGameReadsIt) {
    auto joystick = [](const char* value) {
        TempFolder folder;
        folder.Write("Config.txt", std::string("1\n2\n3\n4\n5\n6\n7\n") + value + "\n");
        LauncherState state;
        state.folder = folder.Path();
        launcher::LoadConfig(state);
        return state.chJoy;
    };
    EXPECT_FALSE(joystick("0"));
    EXPECT_TRUE(joystick("1"));
    EXPECT_TRUE(joystick("True"));
    EXPECT_FALSE(joystick("nonsense"));
}

// --- Config.txt: saving ---------------------------------------------------------------------

TEST(LauncherSaveConfig, WritesTheExactBytesAndTheGameReadsThemBack) {
    TempFolder folder;
    LauncherState state;
    state.folder = folder.Path();
    state.txtKeys = {"16", "30", "31", "32", "57", "44", "157"};
    state.chJoy = true;
    std::string error;
    ASSERT_TRUE(launcher::SaveConfig(state, &error)) << error;
    const std::string bytes = folder.Read("Config.txt");
    EXPECT_EQ(bytes, "16\r\r\n30\r\r\n31\r\r\n32\r\r\n57\r\r\n44\r\r\n157\r\r\n1\r\r\n");

    const common::ControlsReadResult game = common::ParseControls(bytes, "Config.txt");
    EXPECT_TRUE(game.warnings.empty());
    const std::array<std::int16_t, 7> codes = {16, 30, 31, 32, 57, 44, 157};
    EXPECT_EQ(game.controls.keyCodes, codes);
    EXPECT_TRUE(game.controls.joystickEnabled);

    // And the launcher reads its own file back unchanged, joystick off this time.
    state.chJoy = false;
    ASSERT_TRUE(launcher::SaveConfig(state, &error)) << error;
    EXPECT_FALSE(common::ParseControls(folder.Read("Config.txt"), "Config.txt").controls.joystickEnabled);
    LauncherState reread;
    reread.folder = folder.Path();
    EXPECT_TRUE(launcher::LoadConfig(reread).empty());
    EXPECT_EQ(reread.txtKeys, state.txtKeys);
    EXPECT_FALSE(reread.chJoy);
}

TEST(LauncherSaveConfig, ReplacesTheOldFileWholeAndLeavesNoTemporaryBehind) {
    TempFolder folder;
    // Junk after the eight lines: the new file must not keep any of it.
    folder.Write("Config.txt", std::string(kLayout) + std::string(500, 'x'));
    LauncherState state = Loaded(folder);
    std::string error;
    ASSERT_TRUE(launcher::SaveConfig(state, &error)) << error;
    EXPECT_EQ(folder.Read("Config.txt"), kLayout);
    const auto entries = std::distance(std::filesystem::directory_iterator(folder.Path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

// --- "&Start" ------------------------------------------------------------------------------

TEST(LauncherStart, DuplicatesAreRefusedAndNothingIsWrittenOrStarted) {
    TempFolder folder;
    folder.Write("Config.txt", kLayout);
    LauncherState state = Loaded(folder);
    state.txtKeys[6] = "16";  // same as Up
    Recorder recorder;
    EXPECT_EQ(launcher::CmdSaveClick(state, recorder.Services()), launcher::StartOutcome::kRefused);
    ASSERT_EQ(recorder.criticals.size(), 1u);
    EXPECT_EQ(recorder.criticals[0],
              "Cannot save|Cannot save.  Two, or more of you keys are bound to the same action.");
    EXPECT_EQ(folder.Read("Config.txt"), kLayout);
    EXPECT_TRUE(recorder.starts.empty());
}

TEST(LauncherStart, DuplicateCheckComparesTheExactTextsOfEveryPair) {
    LauncherState state;
    state.txtKeys = {"1", "2", "3", "4", "5", "6", "7"};
    EXPECT_FALSE(launcher::HasDuplicateBindings(state));
    state.txtKeys[6] = "07";
    EXPECT_FALSE(launcher::HasDuplicateBindings(state));
    state.txtKeys[6] = "6";  // the last pair
    EXPECT_TRUE(launcher::HasDuplicateBindings(state));
    state.txtKeys = {"1", "1", "3", "4", "5", "6", "7"};  // the first pair
    EXPECT_TRUE(launcher::HasDuplicateBindings(state));
}

TEST(LauncherStart, WritesTheFileEvenWithoutChangesAndPassesShowFpsOnlyWhenChecked) {
    for (const bool showFps : {false, true}) {
        TempFolder folder;
        LauncherState state = Loaded(folder);  // no Config.txt: the defaults
        state.chFPS = showFps;
        Recorder recorder;
        EXPECT_EQ(launcher::CmdSaveClick(state, recorder.Services()), launcher::StartOutcome::kStarted);
        EXPECT_TRUE(recorder.criticals.empty());
        EXPECT_EQ(folder.Read("Config.txt"), kDefaultLayout);
        ASSERT_EQ(recorder.starts.size(), 1u);
        EXPECT_EQ(recorder.starts[0].program, folder.Path() / "corvane");
        EXPECT_EQ(recorder.starts[0].workingDirectory, folder.Path());
        EXPECT_EQ(recorder.starts[0].arguments,
                  showFps ? std::vector<std::string>{"SHOWFPS"} : std::vector<std::string>{});
    }
}

TEST(LauncherStart, AGameThatCannotStartIsNamedInAMessage) {
    TempFolder folder;
    LauncherState state = Loaded(folder);
    Recorder recorder;
    recorder.startSucceeds = false;
    EXPECT_EQ(launcher::CmdSaveClick(state, recorder.Services()), launcher::StartOutcome::kStartFailed);
    ASSERT_EQ(recorder.criticals.size(), 1u);
    EXPECT_NE(recorder.criticals[0].find((folder.Path() / "corvane").string()), std::string::npos)
        << recorder.criticals[0];
    EXPECT_NE(recorder.criticals[0].find("No such file."), std::string::npos);
}

TEST(LauncherStart, AFailedSaveSaysSoAndStartsNothing) {
    TempFolder folder;
    LauncherState state = Loaded(folder);
    state.folder = folder.Path() / "gone";
    Recorder recorder;
    EXPECT_EQ(launcher::CmdSaveClick(state, recorder.Services()), launcher::StartOutcome::kSaveFailed);
    ASSERT_EQ(recorder.criticals.size(), 1u);
    EXPECT_NE(recorder.criticals[0].find("gone/Config.txt"), std::string::npos) << recorder.criticals[0];
    EXPECT_TRUE(recorder.starts.empty());
}

// --- "&Exit" -------------------------------------------------------------------------------

TEST(LauncherExit, NoChangeAsksNothingAndWritesNothing) {
    TempFolder folder;
    folder.Write("Config.txt", kLayout);  // joystick on: loading it is no change
    LauncherState state = Loaded(folder);
    Tap(state, kXTab);
    Recorder recorder;
    EXPECT_TRUE(launcher::CmdCancelClick(state, recorder.Services()));
    EXPECT_TRUE(recorder.questions.empty());
    EXPECT_EQ(folder.Read("Config.txt"), kLayout);
}

TEST(LauncherExit, YesWritesEvenDuplicateBindings) {
    TempFolder folder;
    LauncherState state = Loaded(folder);
    launcher::TxtKeysGotFocus(state, 1);
    Tap(state, kXUp);  // Down now on 200, like Up
    Recorder recorder;
    recorder.answerYes = true;
    EXPECT_TRUE(launcher::CmdCancelClick(state, recorder.Services()));
    ASSERT_EQ(recorder.questions.size(), 1u);
    EXPECT_EQ(recorder.questions[0], "Save Changes|Do you wish to save any changes?");
    EXPECT_TRUE(recorder.criticals.empty());
    EXPECT_EQ(folder.Read("Config.txt"), "200\r\r\n200\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n0\r\r\n");
    EXPECT_TRUE(recorder.starts.empty());
}

TEST(LauncherExit, NoLeavesTheFileAloneAndAFailedYesKeepsTheDialogOpen) {
    TempFolder folder;
    LauncherState state = Loaded(folder);
    launcher::ChJoyClick(state, true);
    Recorder recorder;
    EXPECT_TRUE(launcher::CmdCancelClick(state, recorder.Services()));
    EXPECT_EQ(recorder.questions.size(), 1u);
    EXPECT_EQ(folder.Read("Config.txt"), "<missing>");

    recorder.answerYes = true;
    state.folder = folder.Path() / "gone";
    EXPECT_FALSE(launcher::CmdCancelClick(state, recorder.Services()));
    EXPECT_EQ(recorder.criticals.size(), 1u);
}

}  // namespace
