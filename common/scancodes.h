// The keyboard scan codes both programs store and compare: the DirectInput numbering of a PC
// keyboard (1 Escape, 57 Space, 200 Up arrow ...). One table ties each code to the physical key
// as Linux reports it (evdev code), as USB reports it (HID usage, which is also SDL's scancode
// numbering below 256) and to the name shown to the player. The game maps its input through it,
// the launcher maps captured keys through it and the data generator writes keys.txt from it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace common {

struct ScanCodeEntry {
    std::uint8_t code;          // DirectInput scan code, 1 .. 255
    std::uint16_t evdev;        // Linux input event code (X11 keycode = evdev + 8)
    std::uint16_t hidUsage;     // USB HID keyboard usage; 0 where the key has none
    std::string_view name;      // what the launcher shows for the key
};

// Every key of a 105-key PC keyboard plus the extra keys a player may own, in code order.
std::span<const ScanCodeEntry> ScanCodeTable();

// The entry of a scan code, or nothing for a code no key produces.
const ScanCodeEntry* FindScanCode(int code);

// Scan code of a physical key; 0 (no key) when the key is not in the table.
std::uint8_t ScanCodeFromEvdev(int evdevCode);
std::uint8_t ScanCodeFromHidUsage(int hidUsage);

// Named scan codes the game itself uses.
inline constexpr std::uint8_t kKeyEscape = 1;
inline constexpr std::uint8_t kKeyTab = 15;
inline constexpr std::uint8_t kKeyY = 21;
inline constexpr std::uint8_t kKeyReturn = 28;
inline constexpr std::uint8_t kKeyN = 49;
inline constexpr std::uint8_t kKeyLeftAlt = 56;
inline constexpr std::uint8_t kKeySpace = 57;
inline constexpr std::uint8_t kKeyUp = 200;
inline constexpr std::uint8_t kKeyLeft = 203;
inline constexpr std::uint8_t kKeyRight = 205;
inline constexpr std::uint8_t kKeyDown = 208;

}  // namespace common
