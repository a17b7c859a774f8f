// Config.txt as the game reads it: the seven bound keys and the joystick switch.
#pragma once

#include <filesystem>

namespace input {

// Reads the player's Config.txt (where the start-up's choice of player files put it) into
// keyCodes and joystickEnabled. A missing,
// unreadable or damaged file never stops the game: what cannot be read falls back as
// LoadControlsFrom says.
void LoadControls();

// Reads one file into keyCodes 0 to 6 and joystickEnabled and says on standard error what was
// wrong with it. A missing or unreadable file gives the default keys with the joystick off.
// True when the values came from the file.
bool LoadControlsFrom(const std::filesystem::path& path);

}  // namespace input
