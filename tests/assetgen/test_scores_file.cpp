#include <gtest/gtest.h>

#include <algorithm>

#include "common/scores_file.h"

namespace {

std::array<common::ScoreEntry, 10> Ladder() {
    std::array<common::ScoreEntry, 10> table;
    for (int i = 0; i < 10; ++i) {
        table[static_cast<std::size_t>(i)] = {1000 - 100 * i, std::string(3, static_cast<char>('A' + i))};
    }
    return table;
}

TEST(ScoresFile, TenLinesOfScoreCommaInitialsWithCrLfReadBack) {
    const auto table = Ladder();
    const std::string text = common::FormatScores(table);
    EXPECT_EQ(text.substr(0, 10), "1000,AAA\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 10);
    EXPECT_EQ(text.substr(text.size() - 9), "100,JJJ\r\n");
    const auto result = common::ParseScores(text, "Scores.dat");
    EXPECT_TRUE(result.warnings.empty());
    ASSERT_EQ(result.entries.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(result.entries[i].score, table[i].score);
        EXPECT_EQ(result.entries[i].initials, table[i].initials);
    }
}

TEST(ScoresFile, ReadsFieldsAsTheGameDoes) {
    // Blanks before a field are skipped, quotes hold a field, a long name is kept whole, and a
    // file of four lines gives four entries.
    const auto result = common::ParseScores("  12500 ,\"ABC\"\r\n900,LONGNAME\r\n\"800\",XY Z\n7e2,Q\r\n", "Scores.dat");
    ASSERT_EQ(result.entries.size(), 4u);
    EXPECT_EQ(result.entries[0].score, 12500);
    EXPECT_EQ(result.entries[0].initials, "ABC");
    EXPECT_EQ(result.entries[1].initials, "LONGNAME");
    EXPECT_EQ(result.entries[2].score, 800);
    EXPECT_EQ(result.entries[2].initials, "XY Z");
    EXPECT_EQ(result.entries[3].score, 700);
    EXPECT_TRUE(result.warnings.empty());
}

TEST(ScoresFile, DamagedEntriesReadAsZeroStopAtTenAndAMissingFileIsAWarning) {
    std::string text = "abc,DEF\r\n";
    for (int i = 0; i < 12; ++i) text += "5,AAA\r\n";
    const auto result = common::ParseScores(text, "Scores.dat");
    ASSERT_EQ(result.entries.size(), 10u);
    EXPECT_EQ(result.entries[0].score, 0);
    EXPECT_EQ(result.entries[0].initials, "DEF");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("Scores.dat: entry 1"), std::string::npos);
    const auto noName = common::ParseScores("300", "Scores.dat");
    ASSERT_EQ(noName.entries.size(), 1u);
    EXPECT_EQ(noName.entries[0].score, 300);
    EXPECT_EQ(noName.warnings.size(), 1u);
    // A missing file is a warning naming it, and no entries.
    const auto missing = common::LoadScoresFile("/nonexistent/Scores.dat");
    EXPECT_TRUE(missing.entries.empty());
    ASSERT_EQ(missing.warnings.size(), 1u);
    EXPECT_NE(missing.warnings[0].find("/nonexistent/Scores.dat"), std::string::npos);
}

}  // namespace
