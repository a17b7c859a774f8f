// Config.txt as the game reads it: the seven bound keys and the joystick switch.
#pragma once

namespace input {

// Reads Config.txt from the program folder into keyCodes and joystickEnabled.
void LoadControls();

}  // namespace input
