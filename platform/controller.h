// One game controller read the way DirectInput reports a joystick that the game set up with the
// range 0 to 10000, a dead zone of 1000 and a saturation of 9500 on its x and y axes. A gamepad
// (a device SDL knows the layout of) is preferred; otherwise the first plain joystick serves.
// Controllers plugged in while the game runs are picked up, and one pulled out simply stops
// contributing. Tests script the reading below this interface, or attach SDL's virtual devices.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace platform {

inline constexpr std::int32_t kAxisMin = 0;
inline constexpr std::int32_t kAxisMax = 10000;
inline constexpr std::int32_t kAxisCentre = 5000;
inline constexpr std::int32_t kAxisDeadZone = 1000;    // 10 % of the way out reads as centre
inline constexpr std::int32_t kAxisSaturation = 9500;  // 95 % of the way out reads as the end

// What the game reads of a controller: the stick and the first three buttons.
struct ControllerReading {
    std::int32_t x = kAxisCentre;   // 0 full left .. 10000 full right
    std::int32_t y = kAxisCentre;   // 0 full forward (up) .. 10000 full back (down)
    std::array<bool, 3> buttons{};  // buttons 0, 1, 2; on a gamepad its A, B and X
};

struct ControllerState {
    bool started = false;          // SDL's joystick and game-controller services are running
    bool wanted = false;           // the game asked for a controller; hot-plug opens one only then
    bool open = false;             // a device is open and its reading counts
    bool isGamepad = false;        // the open device is read through its known gamepad layout
    std::int32_t instanceId = -1;  // SDL's number for the open device; -1 with none
    std::string name;              // of the open device, for the messages on standard error
    bool scripted = false;         // a scripted controller replaces the devices
    bool scriptAttached = false;   // scripted: a controller is plugged in
    ControllerReading script;      // scripted: what it reads
    int failReads = 0;  // the next this many reads fail, as a pulled-out device's do (tests)
};
extern ControllerState controller;

// Starts the controller services and opens the first gamepad, else the first joystick; from
// then on controllers plugged in are picked up. True when a controller is open now; none
// attached is no error.
bool OpenController();

// Closes the device and stops the services; hot-plug opens nothing afterwards.
void CloseController();

// Checks that the open device is still there, and drops it for another one if it is not.
// True when a controller is open.
bool AcquireController();

// The open controller's stick and buttons. While the window is not in the foreground it reads
// centred with no button down. False, with reading untouched, when no controller is open or it
// cannot be read.
bool ReadController(ControllerReading* reading);

// One of SDL's axis values (-32768 full left or up .. 32767 full right or down) as DirectInput
// reports it with the game's range, dead zone and saturation.
std::int32_t ScaleAxis(int sdlValue);

// Scripting for tests and replays: a controller that is plugged in or not and reads what the
// script says. Enabling or disabling resets the script to a centred stick, unplugged.
void ScriptController(bool enabled);
void ScriptControllerAttached(bool attached);

namespace controller_testing {
// SDL's virtual devices: a gamepad (gamepad = true) or a plain joystick with two axes and four
// buttons, plugged in as a real one would be. Returns an id for the calls below; -1 on failure.
int AttachVirtualController(bool gamepad, const char* name);
// Raw SDL values: axis 0 is x, axis 1 is y; button numbers as the device counts them.
void SetVirtualAxis(int id, int axis, int value);
void SetVirtualButton(int id, int button, bool down);
void DetachVirtualController(int id);
}  // namespace controller_testing

}  // namespace platform
