#include "launcher/form_logic.h"

#include <iostream>
#include <optional>

#include "common/file_io.h"
#include "common/keys_file.h"
#include "common/scancodes.h"

namespace launcher {

namespace {

// A real Config.txt is a few dozen bytes; anything past this is not looked at.
constexpr std::size_t kMaxConfigBytes = 64 * 1024;

// X11 and Wayland (xkb) number keys from 8: keycode = evdev code + 8.
constexpr std::uint32_t kNativeKeycodeOffset = 8;

// The byte a pressed key has in the keyboard state, as the system keyboard reports it.
constexpr std::uint8_t kKeyDown = 0x80;

std::string MapKey(std::string_view keyText) {
    std::string key(keyText);
    key += 'A';
    return key;
}

// What the dialog says when Config.txt cannot be kept anywhere.
std::string CannotKeepText(const LauncherState& state) {
    std::string text = "Your keys cannot be saved:";
    for (const std::string& note : state.playerFiles.notes) {
        text += "\n" + note;
    }
    return text;
}

}  // namespace

void FindPlaces(LauncherState& state, const std::filesystem::path& programFolder) {
    state.programFolder = programFolder;
    state.dataFolder = common::FindDataFolder(programFolder).folder;
    state.playerFiles = common::FindPlayerFiles(programFolder);
}

std::vector<std::string> LoadKeyNames(LauncherState& state) {
    common::KeyNamesReadResult read = common::LoadKeyNamesFile(state.dataFolder / kKeysFileName);
    state.keyNames.clear();
    for (const common::KeyName& name : read.names) {
        // The reader already dropped later duplicates; emplace keeps the first regardless.
        state.keyNames.emplace(MapKey(std::to_string(name.scanCode)), name.description);
    }
    return std::move(read.warnings);
}

std::vector<std::string> LoadConfig(LauncherState& state) {
    std::vector<std::string> warnings;
    for (int i = 0; i < kKeyBoxes; ++i) {
        state.txtKeys[static_cast<std::size_t>(i)] =
            std::to_string(common::kDefaultControls.keyCodes[static_cast<std::size_t>(i)]);
    }
    state.isLoading = true;
    ChJoyClick(state, common::kDefaultControls.joystickEnabled);

    const std::filesystem::path& path = state.playerFiles.config.readFrom;
    std::string error;
    const std::optional<std::vector<std::uint8_t>> bytes =
        common::ReadFileBytes(path, kMaxConfigBytes, &error);
    if (!bytes) {
        warnings.push_back(error + "; showing the default keys");
        state.isLoading = false;
        return warnings;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const std::vector<std::string> records = common::ReadConfigRecords(text, common::kConfigRecords);
    if (records.size() < common::kConfigRecords) {
        warnings.push_back(path.string() + ": only " + std::to_string(records.size()) +
                           " of 8 lines; the missing ones keep their defaults");
    }
    for (std::size_t i = 0; i < records.size() && i < kKeyBoxes; ++i) {
        state.txtKeys[i] = records[i];
    }
    if (records.size() == common::kConfigRecords) {
        // The box shows the switch as the game will read it (any number but 0 is on).
        ChJoyClick(state, common::ParseControls(text, path.string()).controls.joystickEnabled);
    }
    state.isLoading = false;
    return warnings;
}

bool SaveConfig(const LauncherState& state, std::string* error) {
    if (state.playerFiles.config.writeTo.empty()) {
        *error = CannotKeepText(state);
        return false;
    }
    return common::SaveConfigFile(state.playerFiles.config.writeTo, state.txtKeys, state.chJoy ? 1 : 0,
                                  error);
}

const std::string* FindDescription(const LauncherState& state, std::string_view keyText) {
    const auto found = state.keyNames.find(MapKey(keyText));
    return found == state.keyNames.end() ? nullptr : &found->second;
}

void RefreshDescriptions(LauncherState& state) {
    for (std::size_t i = 0; i < kKeyBoxes; ++i) {
        if (const std::string* description = FindDescription(state, state.txtKeys[i])) {
            state.lblDesc[i] = *description;
        }
    }
}

void FormLoad(LauncherState& state) {
    for (const std::string& note : state.playerFiles.notes) {
        std::cerr << "CorvaneConfig: " << note << '\n';
    }
    std::cerr << "CorvaneConfig: player files: " << common::DescribePlayerFiles(state.playerFiles) << '\n';
    for (const std::string& warning : LoadKeyNames(state)) {
        std::cerr << "CorvaneConfig: " << warning << '\n';
    }
    for (const std::string& warning : LoadConfig(state)) {
        std::cerr << "CorvaneConfig: " << warning << '\n';
    }
    RefreshDescriptions(state);
}

std::uint8_t ScanCodeFromNative(std::uint32_t nativeScanCode) {
    if (nativeScanCode <= kNativeKeycodeOffset || nativeScanCode > 0xFFFF) {
        return 0;
    }
    return common::ScanCodeFromEvdev(static_cast<int>(nativeScanCode - kNativeKeycodeOffset));
}

void KeyboardPress(LauncherState& state, std::uint32_t nativeScanCode) {
    if (const std::uint8_t code = ScanCodeFromNative(nativeScanCode)) {
        state.keyState[code] = kKeyDown;
    }
}

void KeyboardRelease(LauncherState& state, std::uint32_t nativeScanCode) {
    if (const std::uint8_t code = ScanCodeFromNative(nativeScanCode)) {
        state.keyState[code] = 0;
    }
}

void KeyboardClear(LauncherState& state) {
    state.keyState.fill(0);
}

bool Timer1Timer(LauncherState& state) {
    // Code 0 is no key; the lowest code down wins, and with none down the last one stays.
    for (std::size_t code = 1; code < state.keyState.size(); ++code) {
        if (state.keyState[code] != 0) {
            state.currentKey = static_cast<std::int16_t>(code);
            break;
        }
    }
    // Tab moves the focus between the boxes, so it can never be bound.
    if (state.currentKey == state.lastCapturedKey || state.currentKey == common::kKeyTab) {
        return false;
    }
    const auto box = static_cast<std::size_t>(state.focusIndex);
    state.isDirty = true;
    state.txtKeys[box] = std::to_string(state.currentKey);
    if (const std::string* description = FindDescription(state, state.txtKeys[box])) {
        state.lblDesc[box] = *description;
    }
    state.lastCapturedKey = state.currentKey;
    return true;
}

void TxtKeysGotFocus(LauncherState& state, int index) {
    if (index >= 0 && index < kKeyBoxes) {
        state.focusIndex = static_cast<std::int16_t>(index);
    }
}

void ChJoyClick(LauncherState& state, bool checked) {
    state.chJoy = checked;
    if (!state.isLoading) {
        state.isDirty = true;
    }
}

bool HasDuplicateBindings(const LauncherState& state) {
    for (std::size_t i = 0; i < kKeyBoxes; ++i) {
        for (std::size_t j = i + 1; j < kKeyBoxes; ++j) {
            if (state.txtKeys[i] == state.txtKeys[j]) {
                return true;
            }
        }
    }
    return false;
}

GameStart GameStartFor(const LauncherState& state) {
    GameStart start;
    start.program = state.programFolder / kGameProgramName;
    if (state.chFPS) {
        start.arguments.emplace_back(kShowFpsArgument);
    }
    start.workingDirectory = state.dataFolder;
    return start;
}

StartOutcome CmdSaveClick(LauncherState& state, const LauncherServices& services) {
    if (HasDuplicateBindings(state)) {
        services.showCritical(kDuplicateText, kCannotSaveTitle);
        return StartOutcome::kRefused;
    }
    std::string error;
    if (state.playerFiles.config.writeTo.empty()) {
        services.showCritical(CannotKeepText(state) + "\n\nThe game starts with the keys in " +
                                  state.playerFiles.config.readFrom.string() + ".",
                              kLauncherTitle);
    } else if (!SaveConfig(state, &error)) {
        services.showCritical("The controls could not be saved, so the game was not started.\n\n" + error,
                              kCannotSaveTitle);
        return StartOutcome::kSaveFailed;
    }
    const GameStart start = GameStartFor(state);
    if (!services.startProgram(start, &error)) {
        services.showCritical("The game could not be started:\n" + start.program.string() + "\n\n" + error,
                              kLauncherTitle);
        return StartOutcome::kStartFailed;
    }
    return StartOutcome::kStarted;
}

bool CmdCancelClick(LauncherState& state, const LauncherServices& services) {
    if (!state.isDirty || !services.askYesNo(kSaveChangesText, kSaveChangesTitle)) {
        return true;
    }
    std::string error;
    if (state.playerFiles.config.writeTo.empty()) {
        services.showCritical(CannotKeepText(state), kLauncherTitle);
    } else if (!SaveConfig(state, &error)) {
        services.showCritical("The controls could not be saved.\n\n" + error, kCannotSaveTitle);
        return false;
    }
    return true;
}

}  // namespace launcher
