#include "platform/keyboard.h"

#include <SDL.h>

#include <algorithm>

#include "common/scancodes.h"

namespace platform {

KeyboardState keyboard;

bool ReadKeyboard(std::span<std::uint8_t, 256> state) {
    if (keyboard.scripted) {
        std::copy(keyboard.script.begin(), keyboard.script.end(), state.begin());
        return true;
    }
    std::fill(state.begin(), state.end(), 0);
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    // SDL numbers keys by their USB usage below 256.
    for (int usage = 0; usage < std::min(count, 256); ++usage) {
        if (keys[usage] != 0) {
            const std::uint8_t code = common::ScanCodeFromHidUsage(usage);
            if (code != 0) {
                state[code] = 1;
            }
        }
    }
    return true;
}

void ScriptKeyboard(bool enabled) {
    keyboard.scripted = enabled;
    keyboard.script.fill(0);
}

void ScriptKey(int scanCode, bool down) {
    if (scanCode >= 0 && scanCode < 256) {
        keyboard.script[static_cast<std::size_t>(scanCode)] = down ? 1 : 0;
    }
}

}  // namespace platform
