#include "game/screens/high_scores.h"

#include <algorithm>
#include <cstdio>

#include "common/scores_file.h"
#include "game/graphics/fonts.h"
#include "game/input/dinput.h"
#include "game/screens/screen_loop.h"
#include "game/shell/game_counters.h"
#include "platform/app.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace screens {

HighScoreState highScores;

namespace {

constexpr int kEntries = common::kScoreEntries;

void DrawTable() {
    graphics::DrawText("High Scores", graphics::fonts.fontLarge, graphics::kOpaqueWhite,
                       graphics::ScreenTextRect(275, 190));
    for (int i = 0; i < kEntries; ++i) {
        graphics::DrawText(TableLine(i), graphics::fonts.fontLarge, graphics::kOpaqueWhite,
                           graphics::ScreenTextRect(275, 240 + 35 * i));
    }
}

void DrawInitialsEntry() {
    const InitialsEntry& entry = highScores.entry;
    const std::int32_t font = graphics::fonts.fontMedium;
    graphics::DrawText("Congratulations.", font, graphics::kOpaqueWhite, graphics::ScreenTextRect(265, 220));
    graphics::DrawText("You have earned a High Score!", font, graphics::kOpaqueWhite,
                       graphics::ScreenTextRect(200, 270));
    graphics::DrawText("Enter you initials below!", font, graphics::kOpaqueWhite,
                       graphics::ScreenTextRect(230, 320));
    for (int i = 0; i < 3; ++i) {
        graphics::DrawText(std::string(1, entry.letters[static_cast<std::size_t>(i)]), graphics::fonts.fontLarge,
                           i == entry.position ? graphics::kOpaqueGreen : graphics::kOpaqueWhite,
                           graphics::ScreenTextRect(300 + 50 * i, 360));
    }
}

// Up and Down change the letter, Turn Left and Turn Right move to the next one; one repeat
// tick serves all four, and neither the letters nor the position wrap round.
void ChooseLetter() {
    InitialsEntry& entry = highScores.entry;
    auto due = [&](input::Action action) {
        return input::ActionDown(action) && entry.nextMoveAt < platform::GetTickCount();
    };
    auto restartTick = [&] { entry.nextMoveAt = platform::GetTickCount() + kMoveRepeatMs; };
    if (due(input::Action::kUp)) {
        ++entry.letterIndex;
        restartTick();
    }
    if (due(input::Action::kDown)) {
        --entry.letterIndex;
        restartTick();
    }
    for (const int step : {-1, 1}) {
        if (due(step < 0 ? input::Action::kTurnLeft : input::Action::kTurnRight)) {
            entry.position = std::clamp(entry.position + step, 0, 2);
            entry.letterIndex = entry.letters[static_cast<std::size_t>(entry.position)] - 'A';
            restartTick();
        }
    }
    entry.letterIndex = std::clamp(entry.letterIndex, 0, 25);
    entry.letters[static_cast<std::size_t>(entry.position)] = static_cast<char>('A' + entry.letterIndex);
}

}  // namespace

void SetTable(std::span<const common::ScoreEntry> entries) {
    for (std::size_t i = 0; i < entries.size() && i < static_cast<std::size_t>(kEntries); ++i) {
        highScores.scoreTable[i] = entries[i].score;
        highScores.nameTable[i] = entries[i].initials;
    }
}

void LoadScores() {
    highScores.file = platform::app.playerFiles.scores;
    const common::ScoresReadResult read = common::LoadScoresFile(highScores.file.readFrom);
    for (const std::string& warning : read.warnings) {
        std::fprintf(stderr, "Starwake: %s\n", warning.c_str());
    }
    if (!read.opened) {
        std::fprintf(stderr, "Starwake: starting with the high-score table the game ships; %s is made at the first save\n",
                     highScores.file.writeTo.empty() ? "no file" : highScores.file.writeTo.string().c_str());
        SetTable(common::FirstScoreTable());
        return;
    }
    SetTable(read.entries);
}

bool SaveScores() {
    std::array<common::ScoreEntry, kEntries> table;
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = {highScores.scoreTable[i], highScores.nameTable[i]};
    }
    // Without a place to write (a home folder that cannot be written, said at start-up), the
    // table lasts for this run only.
    if (highScores.file.writeTo.empty()) {
        return false;
    }
    std::string error;
    if (common::SaveScoresFile(highScores.file.writeTo, table, &error)) {
        return true;
    }
    std::fprintf(stderr, "Starwake: %s\n", error.c_str());
    platform::ShowMessageBox("The high scores could not be saved: " + error +
                                 ". The table is kept until the game is closed.",
                             "Starwake", platform::MessageButtons::kOkOnly, platform::MessageIcon::kExclamation);
    return false;
}

void RecordScore() {
    // A key still held from play would otherwise choose at once, before the player sees the screen.
    WaitForFireAndReturnUp();
    const std::int32_t score = shell::counters.score;
    for (int i = 0; i < kEntries; ++i) {
        if (highScores.scoreTable[static_cast<std::size_t>(i)] < score) {
            for (int j = kEntries - 2; j >= i; --j) {
                highScores.scoreTable[static_cast<std::size_t>(j + 1)] = highScores.scoreTable[static_cast<std::size_t>(j)];
                highScores.nameTable[static_cast<std::size_t>(j + 1)] = highScores.nameTable[static_cast<std::size_t>(j)];
            }
            highScores.scoreTable[static_cast<std::size_t>(i)] = score;
            highScores.nameTable[static_cast<std::size_t>(i)] = EnterInitials();
            break;
        }
    }
    SaveScores();
    ShowHighScores();
}

std::string TableLine(int entry) {
    const std::size_t i = static_cast<std::size_t>(std::clamp(entry, 0, kEntries - 1));
    char number[32];
    std::snprintf(number, sizeof number, "%02d %07d ", entry + 1, highScores.scoreTable[i]);
    return number + highScores.nameTable[i];
}

void ShowHighScores() {
    const ShowingScreen shown(Screen::kHighScores);
    BuildBackground(kMenuPicture);
    for (;;) {
        if (!ScreenPass(kMenuPicture, DrawTable)) {
            continue;
        }
        if (FireOrReturnDown()) {
            WaitForFireAndReturnUp();
            return;
        }
        platform::DoEvents();
    }
}

std::string EnterInitials() {
    const ShowingScreen shown(Screen::kInitials);
    highScores.entry = InitialsEntry{};
    BuildBackground(kMenuPicture);
    for (;;) {
        if (!ScreenPass(kMenuPicture, DrawInitialsEntry)) {
            continue;
        }
        ChooseLetter();
        if (FireOrReturnDown()) {
            WaitForFireAndReturnUp();
            return std::string(highScores.entry.letters.begin(), highScores.entry.letters.end());
        }
        platform::DoEvents();
    }
}

}  // namespace screens
