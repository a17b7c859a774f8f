#include "platform/keyboard.h"

#include <SDL.h>

#include <algorithm>

#include "common/scancodes.h"
#include "platform/event_hooks.h"
#include "platform/window.h"

namespace platform {

KeyboardState keyboard;

namespace {

struct SdlKeyCode {
    SDL_Scancode sdl;
    std::uint8_t code;
};

// Keys SDL numbers outside the USB keyboard usages the shared table is keyed by: the media and
// browser keys (SDL's own numbers above 255), the stop key Linux reports as USB "Stop", and the
// key beside Enter on ISO boards, which some systems report as "non-US #" instead of backslash.
constexpr SdlKeyCode kSdlExtraKeys[] = {
    {SDL_SCANCODE_NONUSHASH, 0x2B},   {SDL_SCANCODE_STOP, 0xE8},
    {SDL_SCANCODE_AUDIOPREV, 0x90},   {SDL_SCANCODE_AUDIONEXT, 0x99},
    {SDL_SCANCODE_AUDIOMUTE, 0xA0},   {SDL_SCANCODE_CALCULATOR, 0xA1},
    {SDL_SCANCODE_AUDIOPLAY, 0xA2},   {SDL_SCANCODE_AUDIOSTOP, 0xA4},
    {SDL_SCANCODE_AC_HOME, 0xB2},     {SDL_SCANCODE_SLEEP, 0xDF},
    {SDL_SCANCODE_AC_SEARCH, 0xE5},   {SDL_SCANCODE_AC_BOOKMARKS, 0xE6},
    {SDL_SCANCODE_AC_REFRESH, 0xE7},  {SDL_SCANCODE_AC_STOP, 0xE8},
    {SDL_SCANCODE_AC_FORWARD, 0xE9},  {SDL_SCANCODE_AC_BACK, 0xEA},
    {SDL_SCANCODE_COMPUTER, 0xEB},    {SDL_SCANCODE_MAIL, 0xEC},
    {SDL_SCANCODE_MEDIASELECT, 0xED},
};

// SDL key number -> scan code, built once for every number SDL uses.
struct SdlKeyTable {
    std::array<std::uint8_t, SDL_NUM_SCANCODES> codes{};
    SdlKeyTable() {
        for (int key = 0; key < 256; ++key) {
            codes[static_cast<std::size_t>(key)] = common::ScanCodeFromHidUsage(key);
        }
        for (const SdlKeyCode& extra : kSdlExtraKeys) {
            codes[static_cast<std::size_t>(extra.sdl)] = extra.code;
        }
    }
};
const SdlKeyTable kSdlKeys;

bool WindowSystemRunning() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

bool hookAdded = false;  // HandleKeyEvent sees the message pump's events

// Remembers every key pressed until the next read. A key that goes away with the window's
// focus was not pressed for the game.
void HandleKeyEvent(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
        const std::uint8_t code = ScanCodeFromSdlKey(event.key.keysym.scancode);
        if (code != 0 && keyboard.heldBack[code] == 0) {
            keyboard.pressedSinceRead[code] = 1;
        }
    } else if (event.type == SDL_KEYUP) {
        keyboard.heldBack[ScanCodeFromSdlKey(event.key.keysym.scancode)] = 0;
    } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        keyboard.pressedSinceRead.fill(0);
        keyboard.heldBack.fill(0);
    }
}

}  // namespace

void HoldKeyUntilReleased(std::uint8_t scanCode) {
    if (scanCode != 0) {
        keyboard.heldBack[scanCode] = 1;
        keyboard.pressedSinceRead[scanCode] = 0;
    }
}

std::uint8_t ScanCodeFromSdlKey(int sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) {
        return 0;
    }
    return kSdlKeys.codes[static_cast<std::size_t>(sdlScancode)];
}

bool OpenKeyboard(std::string* error) {
    if (keyboard.failOpen || (!keyboard.scripted && !WindowSystemRunning())) {
        if (error) {
            *error = "no window system is running to read it from";
        }
        keyboard.opened = false;
        keyboard.acquired = false;
        return false;
    }
    if (!hookAdded) {
        AddEventHook(HandleKeyEvent);
        hookAdded = true;
    }
    keyboard.pressedSinceRead.fill(0);
    keyboard.opened = true;
    return true;
}

void CloseKeyboard() {
    keyboard.opened = false;
    keyboard.acquired = false;
}

bool AcquireKeyboard() {
    keyboard.acquired = keyboard.opened;
    return keyboard.acquired;
}

void UnacquireKeyboard() {
    keyboard.acquired = false;
}

bool ReadKeyboard(std::span<std::uint8_t, 256> state) {
    if (keyboard.failReads > 0) {
        --keyboard.failReads;
        keyboard.acquired = false;
        return false;
    }
    if (!keyboard.opened || !keyboard.acquired || (!keyboard.scripted && !WindowSystemRunning())) {
        return false;
    }
    std::fill(state.begin(), state.end(), 0);
    // Keys belong to the window in the foreground. SDL itself lets go of every key when the
    // window loses the focus; the scripted keyboard obeys the same rule.
    if (!window.focused) {
        keyboard.pressedSinceRead.fill(0);
        return true;
    }
    if (keyboard.scripted) {
        std::copy(keyboard.script.begin(), keyboard.script.end(), state.begin());
    } else {
        std::copy(keyboard.pressedSinceRead.begin(), keyboard.pressedSinceRead.end(), state.begin());
        keyboard.pressedSinceRead.fill(0);
        int count = 0;
        const Uint8* keys = SDL_GetKeyboardState(&count);
        for (int key = 0; key < std::min(count, static_cast<int>(SDL_NUM_SCANCODES)); ++key) {
            if (keys[key] != 0) {
                const std::uint8_t code = ScanCodeFromSdlKey(key);
                if (code != 0) {
                    state[code] = 1;
                }
            }
        }
    }
    for (std::size_t code = 0; code < state.size(); ++code) {
        if (keyboard.heldBack[code] != 0) {
            state[code] = 0;
        }
    }
    return true;
}

void ScriptKeyboard(bool enabled) {
    keyboard.scripted = enabled;
    keyboard.script.fill(0);
    if (enabled) {
        keyboard.opened = true;
        keyboard.acquired = true;
    }
}

void ScriptKey(int scanCode, bool down) {
    if (scanCode >= 0 && scanCode < 256) {
        keyboard.script[static_cast<std::size_t>(scanCode)] = down ? 1 : 0;
    }
}

namespace keyboard_testing {

void PushKeyEvent(int sdlScancode, bool down, bool altHeld) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = static_cast<SDL_Scancode>(sdlScancode);
    event.key.keysym.mod = altHeld ? KMOD_LALT : KMOD_NONE;
    SDL_PushEvent(&event);
}

}  // namespace keyboard_testing

}  // namespace platform
