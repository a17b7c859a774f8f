#include "game/input/dinput.h"

#include <cstdint>

#include "platform/keyboard.h"

namespace input {

DirectInputState dinput;

void InitDirectInput() {}

void UpdateInput() {
    std::array<std::uint8_t, 256> buffer{};
    if (!platform::ReadKeyboard(buffer)) {
        return;
    }
    for (std::size_t code = 0; code < buffer.size(); ++code) {
        dinput.keyState[code] = buffer[code] != 0;
    }
}

void AcquireInput() {}

void ShutdownInput() {}

}  // namespace input
