// The table of the ten best scores: the file, the update after a game over, the table screen
// and the initials entry.
#pragma once

namespace screens {

void LoadScores();
void SaveScores();
void RecordScore();
void ShowHighScores();

}  // namespace screens
