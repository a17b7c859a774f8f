// keys.txt: the launcher's names for scan codes. One key a line: the code in hexadecimal, a
// comma, the description (in double quotes where it holds a comma).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

struct KeyName {
    std::int16_t scanCode = 0;  // DirectInput scan code
    std::string description;    // shown beside a bound key
};

struct KeyNamesReadResult {
    std::vector<KeyName> names;         // in file order; a code listed twice keeps its first
    bool fromFile = false;              // false: the file was missing or unreadable
    std::vector<std::string> warnings;  // damaged lines and duplicates, naming the file
};

KeyNamesReadResult ParseKeyNames(std::string_view text, std::string_view fileName);
KeyNamesReadResult LoadKeyNamesFile(const std::filesystem::path& path);

// The file for a list of names; CR LF line ends.
std::string FormatKeyNames(std::span<const KeyName> names);

// The names of every key in the scan-code table, as shipped in keys.txt.
std::vector<KeyName> KeyNamesFromScanCodeTable();

}  // namespace common
