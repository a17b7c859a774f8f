#include "common/config_file.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/number_text.h"
#include "common/rounding.h"
#include "common/text.h"

namespace common {

namespace {

// A hand-edited file may carry junk or a whole line of text where a number belongs: a warning
// quotes only a short part of it.
constexpr std::size_t kMaxQuoted = 24;

}  // namespace

std::vector<std::string> ReadConfigRecords(std::string_view text, std::size_t maxRecords) {
    std::vector<std::string> records;
    std::size_t at = 0;
    // Editors on other systems may start the file with a UTF-8 byte order mark; it is not
    // part of the first value.
    if (text.starts_with("\xEF\xBB\xBF")) {
        at = 3;
    }
    while (at < text.size() && records.size() < maxRecords) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        const std::string_view line = text.substr(at, end - at);
        records.emplace_back(line.substr(0, line.find(',')));
        // Swallow one line end: any run of CRs with an optional LF after it, or a lone LF.
        while (end < text.size() && text[end] == '\r') {
            ++end;
        }
        if (end < text.size() && text[end] == '\n') {
            ++end;
        }
        at = end;
    }
    return records;
}

ControlsReadResult ParseControls(std::string_view text, std::string_view fileName) {
    ControlsReadResult result;
    const std::string name(fileName);
    const std::vector<std::string> records = ReadConfigRecords(text, kConfigRecords);
    if (records.empty()) {
        result.warnings.push_back(name + ": no values in the file; using the default keys");
        return result;
    }
    result.fromFile = true;
    if (records.size() < kConfigRecords) {
        result.warnings.push_back(name + ": only " + std::to_string(records.size()) +
                                  " of 8 lines; the last value stands in for the rest");
    }
    // A missing line repeats the text of the last line that was read.
    auto recordText = [&](std::size_t i) -> const std::string& {
        return records[std::min(i, records.size() - 1)];
    };
    for (int i = 0; i < kBoundActions; ++i) {
        const std::string& value = recordText(static_cast<std::size_t>(i));
        const double number = ParseNumberPrefix(value).value;
        std::int16_t code = 0;
        if (FitsAfterRounding<std::int16_t>(number)) {
            code = RoundToInteger(number);
        }
        if (code < 0 || code > 255 || !FitsAfterRounding<std::int16_t>(number)) {
            result.warnings.push_back(name + ": line " + std::to_string(i + 1) + ": key code " +
                                      Quoted(value, kMaxQuoted) +
                                      " is not a scan code 0 to 255; the action is unbound");
            code = 0;
        }
        result.controls.keyCodes[static_cast<std::size_t>(i)] = code;
    }
    const std::string& joystick = recordText(kConfigRecords - 1);
    if (EqualsIgnoringCase(TrimBlanks(joystick), "True")) {
        result.controls.joystickEnabled = true;
    } else if (EqualsIgnoringCase(TrimBlanks(joystick), "False")) {
        result.controls.joystickEnabled = false;
    } else if (auto number = ParseNumber(joystick)) {
        result.controls.joystickEnabled = *number != 0.0;
    } else {
        result.controls.joystickEnabled = false;
        result.warnings.push_back(name + ": line 8: joystick switch " + Quoted(joystick, kMaxQuoted) +
                                  " is not 0 or 1; the joystick stays off");
    }
    return result;
}

ControlsReadResult LoadControlsFile(const std::filesystem::path& path) {
    std::string error;
    const auto bytes = ReadFileBytes(path, kMaxConfigBytes, &error);
    if (!bytes) {
        ControlsReadResult result;
        result.warnings.push_back(error + "; using the default keys");
        return result;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return ParseControls(text, path.string());
}

std::string FormatConfig(std::span<const std::string, kBoundActions> keyTexts, int joystick) {
    std::string out;
    for (const std::string& key : keyTexts) {
        // A value may not carry the characters that separate values.
        for (char c : key) {
            if (c != '\r' && c != '\n' && c != ',') {
                out += c;
            }
        }
        out += "\r\r\n";
    }
    out += std::to_string(joystick);
    out += "\r\r\n";
    return out;
}

bool SaveConfigFile(const std::filesystem::path& path,
                    std::span<const std::string, kBoundActions> keyTexts, int joystick,
                    std::string* error) {
    return WriteFileAtomically(path, FormatConfig(keyTexts, joystick), error);
}

}  // namespace common
