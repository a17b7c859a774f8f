// The screens before a game: the main menu and the options.
#pragma once

namespace shell {

// Returns when the player starts a game; its exit choice ends the program.
void MainMenu();
void OptionsScreen();

}  // namespace shell
