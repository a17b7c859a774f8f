// Config.txt: the player's seven key bindings and the joystick switch, written by the launcher
// and read by both programs. One value per line; the launcher ends every line with CR CR LF.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

inline constexpr int kBoundActions = 7;   // Up, Down, Turn Left, Turn Right, Fire, Strafe L/R
inline constexpr int kConfigRecords = 8;  // the seven keys and the joystick switch
// A real Config.txt is a few dozen bytes; readers never look past this.
inline constexpr std::size_t kMaxConfigBytes = 64 * 1024;

struct ControlConfig {
    std::array<std::int16_t, kBoundActions> keyCodes;  // scan codes in action order
    bool joystickEnabled;                              // read the controller too
};

// The bindings a fresh install ships with and the game falls back on.
inline constexpr ControlConfig kDefaultControls = {{200, 208, 203, 205, 57, 30, 32}, false};

// The value of each line: its first field (up to a comma), for at most maxRecords lines.
// A line ends at LF, CR LF, CR CR LF or a lone CR, so files edited anywhere read one value per
// line; a file without any line end is one line. Reads only as far as it needs.
std::vector<std::string> ReadConfigRecords(std::string_view text, std::size_t maxRecords);

struct ControlsReadResult {
    ControlConfig controls = kDefaultControls;
    bool fromFile = false;              // false: the file was missing, unreadable or empty
    std::vector<std::string> warnings;  // one line each, naming the file
};

// The game's reading of the file's text. Each key is the number at the start of its value
// rounded to 16 bits; a code outside 0 .. 255 becomes 0, the code no key produces. The
// joystick switch is a number (true unless 0) or "True"/"False"; anything else leaves it off.
// A short file repeats the last value it had for the missing lines.
ControlsReadResult ParseControls(std::string_view text, std::string_view fileName);

// Reads the file; a missing or unreadable one gives the defaults and a warning.
ControlsReadResult LoadControlsFile(const std::filesystem::path& path);

// The launcher's layout: seven key texts and the joystick value, each followed by CR CR LF.
std::string FormatConfig(std::span<const std::string, kBoundActions> keyTexts, int joystick);

// Writes Config.txt atomically (temporary file renamed over the old one).
bool SaveConfigFile(const std::filesystem::path& path,
                    std::span<const std::string, kBoundActions> keyTexts, int joystick,
                    std::string* error);

}  // namespace common
