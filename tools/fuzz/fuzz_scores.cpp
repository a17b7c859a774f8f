// Scores.dat as the game reads it at start-up; the table it read, saved after a game over,
// reads back entry for entry (a save never changes or loses what the file held).
#include <array>

#include "common/scores_file.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const common::ScoresReadResult read = common::ParseScores(fuzz::Text({data, size}), "Scores.dat");
    FUZZ_REQUIRE(read.entries.size() <= static_cast<std::size_t>(common::kScoreEntries));
    std::array<common::ScoreEntry, common::kScoreEntries> table{};
    std::copy(read.entries.begin(), read.entries.end(), table.begin());
    const common::ScoresReadResult again = common::ParseScores(common::FormatScores(table), "Scores.dat");
    FUZZ_REQUIRE(again.entries.size() == table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        FUZZ_REQUIRE(again.entries[i].score == table[i].score);
        FUZZ_REQUIRE(again.entries[i].initials == table[i].initials);
    }
    return 0;
}
