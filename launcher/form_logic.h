// The launcher's dialog without its widgets: the key boxes, the key-name map, the keyboard
// state the capture timer polls, and what the buttons do. The Qt form mirrors this state and
// forwards its events here, so every rule can be tested without a window.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/config_file.h"
#include "common/player_files.h"

namespace launcher {

inline constexpr int kKeyBoxes = common::kBoundActions;

// Form-level state of the dialog.
struct LauncherState {
    std::filesystem::path programFolder;           // the launcher's own folder: corvane lies beside it
    std::filesystem::path dataFolder;              // keys.txt and the pictures
    common::PlayerFiles playerFiles;               // where Config.txt is read and written
    std::map<std::string, std::string> keyNames;   // key-name map: "200A" -> "Up Arrow"
    std::array<std::string, kKeyBoxes> txtKeys;    // text of each key box: a decimal scan code
    std::array<std::string, kKeyBoxes> lblDesc;    // caption of the label beside each key box
    bool chJoy = false;                            // "Enable Joystick" is checked
    bool chFPS = false;                            // "Show  framerate" is checked
    std::int16_t focusIndex = 0;                   // key box that last received the focus
    std::int16_t currentKey = 0;                   // lowest scan code down at the last poll
    std::int16_t lastCapturedKey = 0;              // code last written into a key box
    bool isDirty = false;                          // a change was made and not saved
    bool isLoading = false;                        // chJoy is being set from Config.txt
    std::array<std::uint8_t, 256> keyState{};      // one byte per scan code, non-zero = down
};

// Captions of the seven action rows, in Config.txt order.
inline constexpr std::array<std::string_view, kKeyBoxes> kActionCaptions = {
    "Up Key", "Down Key", "Turn Left", "Turn Right", "Fire Key", "Strafe Left", "Strafe Right"};

inline constexpr std::string_view kKeysFileName = "keys.txt";
inline constexpr std::string_view kGameProgramName = "corvane";
inline constexpr std::string_view kShowFpsArgument = "SHOWFPS";

inline constexpr std::string_view kDuplicateText =
    "Cannot save.  Two, or more of you keys are bound to the same action.";
inline constexpr std::string_view kCannotSaveTitle = "Cannot save";
inline constexpr std::string_view kSaveChangesText = "Do you wish to save any changes?";
inline constexpr std::string_view kSaveChangesTitle = "Save Changes";
inline constexpr std::string_view kLauncherTitle = "Starwake Launcher";

// How the game is started: the program, its arguments and the folder it runs in.
struct GameStart {
    std::filesystem::path program;
    std::vector<std::string> arguments;
    std::filesystem::path workingDirectory;
};

// What the dialog asks of the desktop. The form passes real message boxes and a detached
// process start; tests pass recorders, so nothing blocks.
struct LauncherServices {
    // A message box with the critical icon and an OK button.
    std::function<void(std::string_view text, std::string_view title)> showCritical;
    // A Yes/No question; true for Yes.
    std::function<bool(std::string_view text, std::string_view title)> askYesNo;
    // Starts a program without waiting for it; false with *error when it cannot be started.
    std::function<bool(const GameStart& start, std::string* error)> startProgram;
};

// Finds, from the launcher's own folder, the game, the data folder and the player's files, the
// way the game finds them (the player's files seeded on first use).
void FindPlaces(LauncherState& state, const std::filesystem::path& programFolder);

// Reads keys.txt from the data folder into the key-name map. Damaged lines are skipped
// and a code listed twice keeps its first description; returns one warning per problem, each
// naming the file (a missing file leaves the map empty and the boxes show numbers only).
std::vector<std::string> LoadKeyNames(LauncherState& state);

// Reads the player's Config.txt: the first value of each of the first seven lines
// becomes a key box's text, the eighth line the joystick switch. A missing file, or missing
// lines, leave the default bindings. Returns warnings naming the file.
std::vector<std::string> LoadConfig(LauncherState& state);

// Writes the player's Config.txt, replacing it whole: seven key texts and the joystick value,
// each line ending CR CR LF. False with *error when it cannot be written or has nowhere to go.
bool SaveConfig(const LauncherState& state, std::string* error);

// The description for a key box's text, looked up as the text followed by "A"; nothing when
// the map has no such entry.
const std::string* FindDescription(const LauncherState& state, std::string_view keyText);

// Sets every description label from the map; a label whose key is not in the map keeps its text.
void RefreshDescriptions(LauncherState& state);

// The start-up of the dialog: key names, configuration, descriptions; warnings and where the
// player's files are on stderr.
void FormLoad(LauncherState& state);

// The scan code of a key event's native scan code (an X11 or Wayland keycode, which is the
// Linux evdev code + 8); 0 for a key the scan-code table does not know.
std::uint8_t ScanCodeFromNative(std::uint32_t nativeScanCode);

// Key events into the keyboard state the timer polls. A release always clears its key;
// KeyboardClear releases every key (the dialog lost the keyboard focus).
void KeyboardPress(LauncherState& state, std::uint32_t nativeScanCode);
void KeyboardRelease(LauncherState& state, std::uint32_t nativeScanCode);
void KeyboardClear(LauncherState& state);

// One poll of the keyboard. The lowest code down becomes currentKey; when it differs from the
// last captured code and is not Tab, it goes into the focused key box with its description.
// True when a key box changed.
bool Timer1Timer(LauncherState& state);

// A key box received the focus.
void TxtKeysGotFocus(LauncherState& state, int index);

// The joystick box changed; a change made while loading the file is not the user's.
void ChJoyClick(LauncherState& state, bool checked);

// True when two key boxes hold the same text (exact comparison).
bool HasDuplicateBindings(const LauncherState& state);

// The game program beside the launcher, with "SHOWFPS" when the frame rate is asked for.
GameStart GameStartFor(const LauncherState& state);

enum class StartOutcome {
    kRefused,      // two actions share a key: nothing was written
    kSaveFailed,   // Config.txt could not be written: the game was not started
    kStartFailed,  // Config.txt was written, the game program could not be started
    kStarted,      // the game runs: the launcher ends
};

// The "&Start" button: refuse duplicate bindings, write Config.txt (even when nothing changed),
// start the game. Every failure is shown in a message box. Where the player's Config.txt has
// nowhere to be written (no home folder that can be), that is said and the game starts anyway.
StartOutcome CmdSaveClick(LauncherState& state, const LauncherServices& services);

// The "&Exit" button: when something changed, ask whether to save, and save on Yes without the
// duplicate check. True when the launcher may end (false only when a wanted save failed; a
// Config.txt with nowhere to go is said and the launcher ends).
bool CmdCancelClick(LauncherState& state, const LauncherServices& services);

}  // namespace launcher
