// The screens before a game: the main menu (start a game, options, high scores, exit) and the
// options, where the music and effects volumes are set. Each is a loop of its own over the
// menu picture; the configured Up, Down, Turn Left, Turn Right and Fire keys and Return act.
#pragma once

#include <string>

#include "platform/clock.h"

namespace shell {

struct MenuScreenState {
    int highlighted = 0;            // the highlighted item or line; the first at every entry
    platform::Tick nextMoveAt = 0;  // earliest tick of the next move or value change
    float wobble = 0;               // the highlighted menu item's rotation, radians
    platform::Tick nextWobbleAt = 0;
};

struct MenuScreens {
    MenuScreenState mainMenu;
    MenuScreenState options;
};
extern MenuScreens menus;

// The main menu's items and the options' lines.
enum MenuItem : int { kStartGame = 0, kOptions, kHighScores, kExit };
enum OptionLine : int { kMusicVolumeLine = 0, kSfxVolumeLine, kOptionsExitLine };

// Returns when the player starts a game; its Exit runs the shutdown and never returns. A
// run-time error inside the menu, the options or the table shows its message and returns as
// if a game had been started.
void MainMenu();

// Returns when the player chooses Exit.
void OptionsScreen();

// The text of an options line: "Music Volume :100%", "SFX Volume :96%", "Exit".
std::string OptionText(int line);

}  // namespace shell
