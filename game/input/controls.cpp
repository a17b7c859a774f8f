#include "game/input/controls.h"

#include "game/input/dinput.h"

namespace input {

void LoadControls() {
    const std::int16_t defaults[7] = {200, 208, 203, 205, 57, 30, 32};
    for (int i = 0; i < 7; ++i) {
        dinput.keyCodes[static_cast<std::size_t>(i)] = defaults[i];
    }
}

}  // namespace input
