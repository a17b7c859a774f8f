// The system keyboard as a 256-byte state indexed by DirectInput scan code (non-zero while
// down), opened and acquired the way the game's input module expects. Tests and replays script
// the state below this interface.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace platform {

struct KeyboardState {
    bool opened = false;    // OpenKeyboard succeeded and CloseKeyboard has not run since
    bool acquired = false;  // reads succeed; a failed read drops it until AcquireKeyboard
    std::array<std::uint8_t, 256>
        pressedSinceRead{};                  // keys pressed since the last read, by scan code
    std::array<std::uint8_t, 256> heldBack{};  // keys the window took (Alt+Enter): up until let go
    bool scripted = false;                   // use script instead of the real keyboard
    std::array<std::uint8_t, 256> script{};  // the scripted state, by scan code
    int failReads = 0;      // the next this many reads fail, as a lost device's do (tests)
    bool failOpen = false;  // OpenKeyboard fails, as it does without a window system (tests)
};
extern KeyboardState keyboard;

// Makes the keyboard readable; it needs the window system the window was created on. False
// with *error saying why when it cannot be.
bool OpenKeyboard(std::string* error);
void CloseKeyboard();

// Takes the keyboard for the game again after a failed read; false while it is not open.
bool AcquireKeyboard();
void UnacquireKeyboard();

// Fills state with the keys down now, and with those pressed since the last read even if they
// were let go again: a quick tap between two slow frames is not lost. While the window is not in
// the foreground every key reads as up, so nothing held when the player switched away stays
// down. False, with state untouched, when the keyboard cannot be read; it must then be acquired
// again.
bool ReadKeyboard(std::span<std::uint8_t, 256> state);

// The window took this key's press for itself (the Return of Alt+Enter): it reads as up until
// it is let go.
void HoldKeyUntilReleased(std::uint8_t scanCode);

// The scan code of one of SDL's key numbers (the USB usage below 256, SDL's own numbers for the
// media keys above); 0 for a key the game has no code for.
std::uint8_t ScanCodeFromSdlKey(int sdlScancode);

// Scripting for tests: press and release keys by scan code. The scripted keyboard comes open
// and acquired, as the game's start-up leaves the real one; all its keys start up.
void ScriptKeyboard(bool enabled);
void ScriptKey(int scanCode, bool down);

namespace keyboard_testing {
// Queues a key event as the window system would send it, with SDL's key number (and an Alt key
// held with it); the message pump hands it on. SDL's own key table does not follow such
// events, so only what the keyboard service makes of the event itself shows.
void PushKeyEvent(int sdlScancode, bool down, bool altHeld = false);
}  // namespace keyboard_testing

}  // namespace platform
