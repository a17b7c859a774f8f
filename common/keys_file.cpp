#include "common/keys_file.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "common/file_io.h"
#include "common/number_text.h"
#include "common/scancodes.h"

namespace common {

namespace {

constexpr std::size_t kMaxKeysBytes = 1024 * 1024;

// The description field: blanks before it are skipped; a quoted field runs to the closing
// quote, an unquoted one to the next comma, without trailing blanks.
std::string DescriptionField(std::string_view rest) {
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) {
        rest.remove_prefix(1);
    }
    if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        return std::string(rest.substr(0, rest.find('"')));
    }
    return std::string(TrimBlanks(rest.substr(0, rest.find(','))));
}

}  // namespace

KeyNamesReadResult ParseKeyNames(std::string_view text, std::string_view fileName) {
    KeyNamesReadResult result;
    result.fromFile = true;
    std::set<int> seen;
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (TrimBlanks(line).empty()) {
            continue;
        }
        const std::size_t comma = line.find(',');
        const std::string_view hex = TrimBlanks(line.substr(0, comma));
        int code = -1;
        const auto [ptr, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), code, 16);
        if (comma == std::string_view::npos || hex.empty() || ec != std::errc() ||
            ptr != hex.data() + hex.size() || code < 0 || code > 255) {
            result.warnings.push_back(std::string(fileName) + ": line " +
                                      std::to_string(lineNumber) +
                                      ": not a hexadecimal scan code and a description; skipped");
            continue;
        }
        if (!seen.insert(code).second) {
            result.warnings.push_back(std::string(fileName) + ": line " +
                                      std::to_string(lineNumber) + ": code " + std::string(hex) +
                                      " listed again; the first description stays");
            continue;
        }
        result.names.push_back({static_cast<std::int16_t>(code), DescriptionField(line.substr(comma + 1))});
    }
    return result;
}

KeyNamesReadResult LoadKeyNamesFile(const std::filesystem::path& path) {
    std::string error;
    const auto bytes = ReadFileBytes(path, kMaxKeysBytes, &error);
    if (!bytes) {
        KeyNamesReadResult result;
        result.warnings.push_back(error + "; keys show their numbers only");
        return result;
    }
    return ParseKeyNames(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                         path.string());
}

std::string FormatKeyNames(std::span<const KeyName> names) {
    static const char kHexDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const KeyName& name : names) {
        const int code = name.scanCode & 0xFF;
        out += kHexDigits[code >> 4];
        out += kHexDigits[code & 15];
        out += ',';
        if (name.description.find(',') != std::string::npos) {
            out += '"' + name.description + '"';
        } else {
            out += name.description;
        }
        out += "\r\n";
    }
    return out;
}

std::vector<KeyName> KeyNamesFromScanCodeTable() {
    std::vector<KeyName> names;
    for (const ScanCodeEntry& entry : ScanCodeTable()) {
        names.push_back({static_cast<std::int16_t>(entry.code), std::string(entry.name)});
    }
    return names;
}

}  // namespace common
