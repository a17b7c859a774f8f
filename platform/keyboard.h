// The system keyboard as a 256-byte state indexed by scan code (non-zero while down). Tests
// and replays script the state below this interface.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace platform {

struct KeyboardState {
    bool scripted = false;                  // use script instead of the real keyboard
    std::array<std::uint8_t, 256> script{};  // the scripted state, by scan code
};
extern KeyboardState keyboard;

// Fills state with the keys down now; false when the keyboard cannot be read.
bool ReadKeyboard(std::span<std::uint8_t, 256> state);

// Scripting for tests: press and release keys by scan code.
void ScriptKeyboard(bool enabled);
void ScriptKey(int scanCode, bool down);

}  // namespace platform
