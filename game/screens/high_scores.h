// The table of the ten best scores: the file it is kept in, the update after a game ends,
// the table screen and the initials entry.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "common/player_files.h"
#include "common/scores_file.h"
#include "platform/clock.h"

namespace screens {

// The initials entry in progress.
struct InitialsEntry {
    std::array<char, 3> letters{'A', 'A', 'A'};
    int position = 0;                // the letter being chosen, 0 .. 2
    int letterIndex = 0;             // 0 .. 25 for A .. Z
    platform::Tick nextMoveAt = 0;   // one repeat tick serves all four keys
};

struct HighScoreState {
    std::array<std::int32_t, 11> scoreTable{};  // entries 0 .. 9 are the table, best first; 10 spare
    std::array<std::string, 11> nameTable{};    // the initials of the same entries
    common::PlayerFile file;  // where the table is read from and saved to (no save path: kept for this run)
    InitialsEntry entry;
};
extern HighScoreState highScores;

// Reads the table from the player's Scores.dat (chosen at start-up with the other player files). A missing or unreadable file gives the table the
// game ships with (said on standard error); the file is then made at the first save. Damaged
// entries are read as well as they can be (see common/scores_file.h) and named on standard
// error; entries past the end of a short file keep their values.
void LoadScores();

// Puts entries (best first, at most ten) into the table; later entries keep their values.
void SetTable(std::span<const common::ScoreEntry> entries);

// Writes entries 0 .. 9 without ever leaving a half-written file. False when it cannot, after
// a message box naming the file and the reason; the old file is then untouched and the game
// goes on with the table in memory. False without a word when there is no place to write (said
// once at start-up).
bool SaveScores();

// After a game ends with game over or the win: a score that beats an entry takes its place
// (initials entered), then the table is saved and shown.
void RecordScore();

// The table screen; returns once Fire or Return was pressed and let go.
void ShowHighScores();

// The initials-entry screen; returns the three letters chosen.
std::string EnterInitials();

// Line i of the table screen: "01 0012500 ABC".
std::string TableLine(int entry);

}  // namespace screens
