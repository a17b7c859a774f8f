// Scores.dat: the table of the ten best scores, best first, one "score,INI" line each with
// CR LF line ends. Shipped with a first table; read at start-up and written after every game over.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

inline constexpr int kScoreEntries = 10;
inline constexpr std::string_view kScoresFileName = "Scores.dat";

struct ScoreEntry {
    std::int32_t score = 0;  // points
    std::string initials;    // three capital letters as entered; an edited file may hold more
};

struct ScoresReadResult {
    bool opened = false;  // the file was there and could be read; false leaves no entries
    // The entries read, best first, at most ten. A shorter file leaves the caller's later
    // entries as they were.
    std::vector<ScoreEntry> entries;
    std::vector<std::string> warnings;  // naming the file
};

// Reads the table the way the game does: fields separated by commas or line ends, leading
// blanks skipped, a field may be quoted; two fields per entry. A score without a leading
// number reads as 0.
ScoresReadResult ParseScores(std::string_view text, std::string_view fileName);
ScoresReadResult LoadScoresFile(const std::filesystem::path& path);

// The table the game ships with: invented pilots on a descending ladder. The generator writes
// it as the first Scores.dat, and the game starts with it when the file is missing.
std::array<ScoreEntry, kScoreEntries> FirstScoreTable();

// The ten lines "score,initials" each followed by CR LF.
std::string FormatScores(std::span<const ScoreEntry, kScoreEntries> table);
bool SaveScoresFile(const std::filesystem::path& path,
                    std::span<const ScoreEntry, kScoreEntries> table, std::string* error);

}  // namespace common
