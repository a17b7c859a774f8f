// The keyboard and the optional game controller, polled once per frame into one table of key
// flags indexed by DirectInput scan code. The controller has no flags of its own: its stick and
// first three buttons press the keys bound to the matching actions.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/controller.h"

namespace input {

struct DirectInputState {
    std::array<bool, 256> keyState{};        // true while the key with that scan code is down
    std::array<std::int16_t, 8> keyCodes{};  // scan code of each Action; entry 7 is unused
    bool joystickEnabled = false;            // from Config.txt: read a controller too
    bool created = false;                    // InitDirectInput succeeded, ShutdownInput not yet run
    std::array<std::uint8_t, 256> keyboardBuffer{};  // the raw keyboard state of the last read
    platform::ControllerReading joystickState;       // the controller's last reading
    // Sees (and may replace) the key table after every poll: replays record and feed it here.
    std::function<void(std::array<bool, 256>&)> pollObserver;
};
extern DirectInputState dinput;

// The indices of keyCodes, in the order of the lines of Config.txt.
enum class Action : int { kUp = 0, kDown, kTurnLeft, kTurnRight, kFire, kStrafeLeft, kStrafeRight };

// The stick's thresholds: beyond them (strictly) it presses the key of its direction.
inline constexpr std::int32_t kStickLow = 2500;
inline constexpr std::int32_t kStickHigh = 7500;

// Opens the keyboard and, when joystickEnabled, a controller (none attached is fine). False
// when the keyboard cannot be opened; *error then says why. Call after LoadControls and after
// the window exists.
bool InitDirectInput(std::string* error);

// Reads the keyboard into every entry of keyState, then presses the keys of the controller's
// actions on top. A failed keyboard read leaves keyState as it was. Ends with AcquireInput.
void UpdateInput();

// Takes the keyboard again after a failed read and checks that the controller is still there.
void AcquireInput();

void ShutdownInput();

// keyState of a scan code, false for a number outside the table.
bool KeyDown(int scanCode);

// Whether the key bound to an action is down.
bool ActionDown(Action action);

}  // namespace input
