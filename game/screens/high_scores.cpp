#include "game/screens/high_scores.h"

namespace screens {

void LoadScores() {}

void SaveScores() {}

void RecordScore() {}

void ShowHighScores() {}

}  // namespace screens
