#include "common/scancodes.h"

#include <algorithm>
#include <array>

namespace common {

namespace {

// code, evdev, HID usage, name. The main block shares its numbers with evdev (both come from
// the PC's original scan code set); the extended keys (arrows, navigation, right-hand
// modifiers, keypad Enter and divide, system keys) differ.
constexpr ScanCodeEntry kTable[] = {
    {0x01, 1, 41, "Escape"},
    {0x02, 2, 30, "1"},
    {0x03, 3, 31, "2"},
    {0x04, 4, 32, "3"},
    {0x05, 5, 33, "4"},
    {0x06, 6, 34, "5"},
    {0x07, 7, 35, "6"},
    {0x08, 8, 36, "7"},
    {0x09, 9, 37, "8"},
    {0x0A, 10, 38, "9"},
    {0x0B, 11, 39, "0"},
    {0x0C, 12, 45, "Minus"},
    {0x0D, 13, 46, "Equals"},
    {0x0E, 14, 42, "Backspace"},
    {0x0F, 15, 43, "Tab"},
    {0x10, 16, 20, "Q"},
    {0x11, 17, 26, "W"},
    {0x12, 18, 8, "E"},
    {0x13, 19, 21, "R"},
    {0x14, 20, 23, "T"},
    {0x15, 21, 28, "Y"},
    {0x16, 22, 24, "U"},
    {0x17, 23, 12, "I"},
    {0x18, 24, 18, "O"},
    {0x19, 25, 19, "P"},
    {0x1A, 26, 47, "Left Bracket"},
    {0x1B, 27, 48, "Right Bracket"},
    {0x1C, 28, 40, "Enter"},
    {0x1D, 29, 224, "Left Ctrl"},
    {0x1E, 30, 4, "A"},
    {0x1F, 31, 22, "S"},
    {0x20, 32, 7, "D"},
    {0x21, 33, 9, "F"},
    {0x22, 34, 10, "G"},
    {0x23, 35, 11, "H"},
    {0x24, 36, 13, "J"},
    {0x25, 37, 14, "K"},
    {0x26, 38, 15, "L"},
    {0x27, 39, 51, "Semicolon"},
    {0x28, 40, 52, "Apostrophe"},
    {0x29, 41, 53, "Grave Accent"},
    {0x2A, 42, 225, "Left Shift"},
    {0x2B, 43, 49, "Backslash"},
    {0x2C, 44, 29, "Z"},
    {0x2D, 45, 27, "X"},
    {0x2E, 46, 6, "C"},
    {0x2F, 47, 25, "V"},
    {0x30, 48, 5, "B"},
    {0x31, 49, 17, "N"},
    {0x32, 50, 16, "M"},
    {0x33, 51, 54, "Comma"},
    {0x34, 52, 55, "Period"},
    {0x35, 53, 56, "Slash"},
    {0x36, 54, 229, "Right Shift"},
    {0x37, 55, 85, "Keypad *"},
    {0x38, 56, 226, "Left Alt"},
    {0x39, 57, 44, "Space"},
    {0x3A, 58, 57, "Caps Lock"},
    {0x3B, 59, 58, "F1"},
    {0x3C, 60, 59, "F2"},
    {0x3D, 61, 60, "F3"},
    {0x3E, 62, 61, "F4"},
    {0x3F, 63, 62, "F5"},
    {0x40, 64, 63, "F6"},
    {0x41, 65, 64, "F7"},
    {0x42, 66, 65, "F8"},
    {0x43, 67, 66, "F9"},
    {0x44, 68, 67, "F10"},
    {0x45, 69, 83, "Num Lock"},
    {0x46, 70, 71, "Scroll Lock"},
    {0x47, 71, 95, "Keypad 7"},
    {0x48, 72, 96, "Keypad 8"},
    {0x49, 73, 97, "Keypad 9"},
    {0x4A, 74, 86, "Keypad -"},
    {0x4B, 75, 92, "Keypad 4"},
    {0x4C, 76, 93, "Keypad 5"},
    {0x4D, 77, 94, "Keypad 6"},
    {0x4E, 78, 87, "Keypad +"},
    {0x4F, 79, 89, "Keypad 1"},
    {0x50, 80, 90, "Keypad 2"},
    {0x51, 81, 91, "Keypad 3"},
    {0x52, 82, 98, "Keypad 0"},
    {0x53, 83, 99, "Keypad ."},
    {0x56, 86, 100, "Less Than / Greater Than"},
    {0x57, 87, 68, "F11"},
    {0x58, 88, 69, "F12"},
    {0x64, 183, 104, "F13"},
    {0x65, 184, 105, "F14"},
    {0x66, 185, 106, "F15"},
    {0x70, 93, 136, "Kana"},
    {0x73, 89, 135, "Ro"},
    {0x79, 92, 138, "Henkan"},
    {0x7B, 94, 139, "Muhenkan"},
    {0x7D, 124, 137, "Yen"},
    {0x8D, 117, 103, "Keypad ="},
    {0x90, 165, 0, "Previous Track"},
    {0x99, 163, 0, "Next Track"},
    {0x9C, 96, 88, "Keypad Enter"},
    {0x9D, 97, 228, "Right Ctrl"},
    {0xA0, 113, 127, "Mute"},
    {0xA1, 140, 0, "Calculator"},
    {0xA2, 164, 0, "Play / Pause"},
    {0xA4, 166, 0, "Media Stop"},
    {0xAE, 114, 129, "Volume Down"},
    {0xB0, 115, 128, "Volume Up"},
    {0xB2, 172, 0, "Web Home"},
    {0xB3, 121, 133, "Keypad ,"},
    {0xB5, 98, 84, "Keypad /"},
    {0xB7, 99, 70, "Print Screen"},
    {0xB8, 100, 230, "Right Alt"},
    {0xC5, 119, 72, "Pause"},
    {0xC7, 102, 74, "Home"},
    {0xC8, 103, 82, "Up Arrow"},
    {0xC9, 104, 75, "Page Up"},
    {0xCB, 105, 80, "Left Arrow"},
    {0xCD, 106, 79, "Right Arrow"},
    {0xCF, 107, 77, "End"},
    {0xD0, 108, 81, "Down Arrow"},
    {0xD1, 109, 78, "Page Down"},
    {0xD2, 110, 73, "Insert"},
    {0xD3, 111, 76, "Delete"},
    {0xDB, 125, 227, "Left Windows"},
    {0xDC, 126, 231, "Right Windows"},
    {0xDD, 127, 101, "Menu"},
    {0xDE, 116, 102, "Power"},
    {0xDF, 142, 0, "Sleep"},
    {0xE3, 143, 0, "Wake"},
    {0xE5, 217, 0, "Web Search"},
    {0xE6, 156, 0, "Web Favorites"},
    {0xE7, 173, 0, "Web Refresh"},
    {0xE8, 128, 0, "Web Stop"},
    {0xE9, 159, 0, "Web Forward"},
    {0xEA, 158, 0, "Web Back"},
    {0xEB, 157, 0, "My Computer"},
    {0xEC, 155, 0, "Mail"},
    {0xED, 226, 0, "Media Select"},
};

// Reverse lookups, built once: physical key number -> scan code.
template <std::size_t N, typename Key>
constexpr std::array<std::uint8_t, N> BuildReverse(Key key) {
    std::array<std::uint8_t, N> out{};
    for (const ScanCodeEntry& e : kTable) {
        const std::size_t k = key(e);
        if (k != 0 && k < N) {
            out[k] = e.code;
        }
    }
    return out;
}

constexpr auto kFromEvdev = BuildReverse<256>([](const ScanCodeEntry& e) { return e.evdev; });
constexpr auto kFromHid = BuildReverse<256>([](const ScanCodeEntry& e) { return e.hidUsage; });

}  // namespace

std::span<const ScanCodeEntry> ScanCodeTable() { return kTable; }

const ScanCodeEntry* FindScanCode(int code) {
    const auto it = std::lower_bound(std::begin(kTable), std::end(kTable), code,
                                     [](const ScanCodeEntry& e, int c) { return e.code < c; });
    if (it == std::end(kTable) || it->code != code) {
        return nullptr;
    }
    return it;
}

std::uint8_t ScanCodeFromEvdev(int evdevCode) {
    return evdevCode > 0 && evdevCode < 256 ? kFromEvdev[static_cast<std::size_t>(evdevCode)] : 0;
}

std::uint8_t ScanCodeFromHidUsage(int hidUsage) {
    return hidUsage > 0 && hidUsage < 256 ? kFromHid[static_cast<std::size_t>(hidUsage)] : 0;
}

}  // namespace common
