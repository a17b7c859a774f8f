#include "common/scores_file.h"

#include "common/file_io.h"
#include "common/number_text.h"
#include "common/rounding.h"

namespace common {

namespace {

// A real table is a few hundred bytes.
constexpr std::size_t kMaxScoresBytes = 64 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Reads the next field starting at *at and moves past its separator. A comma or a line end
// ends an unquoted field (trailing blanks dropped); a quoted field runs to its closing quote,
// and anything after it up to the separator is ignored. CR LF counts as one line end.
std::string NextField(std::string_view text, std::size_t* at) {
    std::size_t i = *at;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    std::string field;
    if (i < text.size() && text[i] == '"') {
        const std::size_t close = text.find('"', i + 1);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        field = std::string(text.substr(i + 1, end - i - 1));
        i = end == text.size() ? end : end + 1;
        while (i < text.size() && text[i] != ',' && !IsLineEnd(text[i])) {
            ++i;
        }
    } else {
        const std::size_t start = i;
        while (i < text.size() && text[i] != ',' && !IsLineEnd(text[i])) {
            ++i;
        }
        field = std::string(TrimBlanks(text.substr(start, i - start)));
    }
    if (i < text.size()) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        ++i;
    }
    *at = i;
    return field;
}

// True when only blanks and line ends are left: the reader is at the end of the file.
bool AtEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && (IsBlank(text[at]) || IsLineEnd(text[at]))) {
        ++at;
    }
    return at >= text.size();
}

}  // namespace

ScoresReadResult ParseScores(std::string_view text, std::string_view fileName) {
    ScoresReadResult result;
    std::size_t at = 0;
    while (!AtEnd(text, at) && result.entries.size() < static_cast<std::size_t>(kScoreEntries)) {
        const std::string scoreText = NextField(text, &at);
        ScoreEntry entry;
        const NumberPrefix number = ParseNumberPrefix(scoreText);
        entry.score = RoundToLong(number.value);
        if (!number.found || !FitsAfterRounding<std::int32_t>(number.value)) {
            result.warnings.push_back(std::string(fileName) + ": entry " +
                                      std::to_string(result.entries.size() + 1) + ": score \"" +
                                      scoreText + "\" is not a number");
        }
        if (AtEnd(text, at)) {
            result.warnings.push_back(std::string(fileName) + ": entry " +
                                      std::to_string(result.entries.size() + 1) +
                                      " has no initials");
        } else {
            entry.initials = NextField(text, &at);
        }
        result.entries.push_back(std::move(entry));
    }
    return result;
}

ScoresReadResult LoadScoresFile(const std::filesystem::path& path) {
    std::string error;
    const auto bytes = ReadFileBytes(path, kMaxScoresBytes, &error);
    if (!bytes) {
        ScoresReadResult result;
        result.warnings.push_back(error);
        return result;
    }
    ScoresReadResult result =
        ParseScores(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                    path.string());
    result.opened = true;
    return result;
}

std::array<ScoreEntry, kScoreEntries> FirstScoreTable() {
    return {{{50000, "ACE"},
             {40000, "VEX"},
             {32000, "NOX"},
             {25000, "ZED"},
             {20000, "KIT"},
             {15000, "ORB"},
             {10000, "JAX"},
             {7500, "LUM"},
             {5000, "REY"},
             {2500, "SOL"}}};
}

std::string FormatScores(std::span<const ScoreEntry, kScoreEntries> table) {
    std::string out;
    for (const ScoreEntry& entry : table) {
        out += std::to_string(entry.score);
        out += ',';
        out += entry.initials;
        out += "\r\n";
    }
    return out;
}

bool SaveScoresFile(const std::filesystem::path& path,
                    std::span<const ScoreEntry, kScoreEntries> table, std::string* error) {
    return WriteFileAtomically(path, FormatScores(table), error);
}

}  // namespace common
