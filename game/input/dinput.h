// The keyboard and the optional game controller, polled once per frame into one table of key
// flags indexed by scan code.
#pragma once

#include <array>
#include <cstdint>

namespace input {

struct DirectInputState {
    std::array<bool, 256> keyState{};         // true while the key with that scan code is down
    std::array<std::int16_t, 8> keyCodes{};   // Up, Down, Turn L/R, Fire, Strafe L/R; 7 unused
    bool joystickEnabled = false;             // from Config.txt
};
extern DirectInputState dinput;

void InitDirectInput();
// Reads the keyboard (and the controller) into keyState.
void UpdateInput();
void AcquireInput();
void ShutdownInput();

}  // namespace input
