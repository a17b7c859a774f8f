#include "game/input/dinput.h"

#include "platform/keyboard.h"

namespace input {

DirectInputState dinput;

namespace {

// The controller presses an action's key; it never releases one the keyboard holds. A code
// outside the table (only possible if keyCodes was set by hand) presses nothing.
void Press(Action action) {
    const int code = dinput.keyCodes[static_cast<std::size_t>(action)];
    if (code >= 0 && code < static_cast<int>(dinput.keyState.size())) {
        dinput.keyState[static_cast<std::size_t>(code)] = true;
    }
}

void FoldController(const platform::ControllerReading& stick) {
    if (stick.x < kStickLow) {
        Press(Action::kTurnLeft);
    }
    if (stick.x > kStickHigh) {
        Press(Action::kTurnRight);
    }
    if (stick.y < kStickLow) {
        Press(Action::kUp);
    }
    if (stick.y > kStickHigh) {
        Press(Action::kDown);
    }
    if (stick.buttons[0]) {
        Press(Action::kFire);
    }
    if (stick.buttons[1]) {
        Press(Action::kStrafeLeft);
    }
    if (stick.buttons[2]) {
        Press(Action::kStrafeRight);
    }
}

}  // namespace

bool InitDirectInput(std::string* error) {
    if (!platform::OpenKeyboard(error)) {
        dinput.created = false;
        return false;
    }
    platform::AcquireKeyboard();
    // With the joystick switched off no controller is opened, even if one is plugged in.
    if (dinput.joystickEnabled) {
        platform::OpenController();
    }
    dinput.created = true;
    return true;
}

void UpdateInput() {
    // A failed read leaves the flags at their last values until the keyboard can be read again.
    if (platform::ReadKeyboard(dinput.keyboardBuffer)) {
        // Every entry, code 0 and the codes above 211 included: a flag the controller pressed
        // last frame is released here unless it is pressed again below.
        for (std::size_t code = 0; code < dinput.keyState.size(); ++code) {
            dinput.keyState[code] = dinput.keyboardBuffer[code] != 0;
        }
        if (dinput.joystickEnabled && platform::ReadController(&dinput.joystickState)) {
            FoldController(dinput.joystickState);
        }
    }
    AcquireInput();
    if (dinput.pollObserver) {
        dinput.pollObserver(dinput.keyState);
    }
}

void AcquireInput() {
    platform::AcquireKeyboard();
    if (dinput.joystickEnabled) {
        platform::AcquireController();
    }
}

void ShutdownInput() {
    platform::UnacquireKeyboard();
    platform::CloseKeyboard();
    platform::CloseController();
    dinput.created = false;
}

bool KeyDown(int scanCode) {
    return scanCode >= 0 && scanCode < static_cast<int>(dinput.keyState.size()) &&
           dinput.keyState[static_cast<std::size_t>(scanCode)];
}

bool ActionDown(Action action) {
    return KeyDown(dinput.keyCodes[static_cast<std::size_t>(action)]);
}

}  // namespace input
