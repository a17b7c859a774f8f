#include "platform/controller.h"

#include <SDL.h>

#include <cstdio>
#include <map>

#include "platform/event_hooks.h"
#include "platform/window.h"

namespace platform {

ControllerState controller;

namespace {

// The SDL handles behind the open device; they never leave this file.
struct SdlController {
    SDL_GameController* gamepad = nullptr;  // set when the device has a known gamepad layout
    SDL_Joystick* joystick = nullptr;       // the device itself (owned by gamepad when that is set)
    bool hookAdded = false;                 // hot-plug events reach HandleDeviceEvent
    std::map<int, SDL_Joystick*> virtualDevices;  // test devices by instance id
};
SdlController sdl;

constexpr int kSdlAxisMax = 32767;
constexpr int kSdlAxisMin = -32768;

bool StartServices() {
    if (controller.started) {
        return true;
    }
    // The game decides itself what counts while its window is in the background (nothing);
    // SDL must not drop the stick's movements meanwhile, or it reads stale values on return.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "Starwake: cannot start the game controller services: %s\n",
                     SDL_GetError());
        return false;
    }
    controller.started = true;
    return true;
}

// Closes the open device; why, when given, goes to standard error.
void DropDevice(const char* why) {
    if (!controller.open) {
        return;
    }
    if (why != nullptr) {
        std::fprintf(stderr, "Starwake: game controller \"%s\" %s\n", controller.name.c_str(), why);
    }
    if (sdl.gamepad != nullptr) {
        SDL_GameControllerClose(sdl.gamepad);
    } else if (sdl.joystick != nullptr) {
        SDL_JoystickClose(sdl.joystick);
    }
    sdl.gamepad = nullptr;
    sdl.joystick = nullptr;
    controller.open = false;
    controller.isGamepad = false;
    controller.instanceId = -1;
    controller.name.clear();
}

void Opened(SDL_Joystick* joystick, bool isGamepad) {
    sdl.joystick = joystick;
    controller.open = true;
    controller.isGamepad = isGamepad;
    controller.instanceId = SDL_JoystickInstanceID(joystick);
    const char* name = SDL_JoystickName(joystick);
    controller.name = name != nullptr ? name : "unnamed";
    std::fprintf(stderr, "Starwake: game controller \"%s\" connected (%s)\n",
                 controller.name.c_str(), isGamepad ? "gamepad" : "joystick");
}

// Opens the first gamepad attached, else the first joystick, unless a device is open already.
void SelectDevice() {
    if (controller.scripted || !controller.started || !controller.wanted || controller.open) {
        return;
    }
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (SDL_IsGameController(i)) {
            if (SDL_GameController* gamepad = SDL_GameControllerOpen(i)) {
                sdl.gamepad = gamepad;
                Opened(SDL_GameControllerGetJoystick(gamepad), true);
                return;
            }
            std::fprintf(stderr, "Starwake: cannot open game controller %d: %s\n", i,
                         SDL_GetError());
        }
    }
    for (int i = 0; i < count; ++i) {
        if (!SDL_IsGameController(i)) {
            if (SDL_Joystick* joystick = SDL_JoystickOpen(i)) {
                Opened(joystick, false);
                return;
            }
            std::fprintf(stderr, "Starwake: cannot open joystick %d: %s\n", i, SDL_GetError());
        }
    }
}

bool DeviceAttached() {
    return sdl.joystick != nullptr && SDL_JoystickGetAttached(sdl.joystick) == SDL_TRUE;
}

void HandleDeviceEvent(const SDL_Event& event) {
    if (controller.scripted || !controller.started) {
        return;
    }
    if (event.type == SDL_JOYDEVICEADDED) {
        SelectDevice();
    } else if (event.type == SDL_JOYDEVICEREMOVED && controller.open &&
               event.jdevice.which == controller.instanceId) {
        DropDevice("disconnected");
        SelectDevice();
    }
}

int JoystickAxis(int axis) {
    return axis < SDL_JoystickNumAxes(sdl.joystick) ? SDL_JoystickGetAxis(sdl.joystick, axis) : 0;
}

bool JoystickButton(int button) {
    return button < SDL_JoystickNumButtons(sdl.joystick) &&
           SDL_JoystickGetButton(sdl.joystick, button) != 0;
}

ControllerReading ReadDevice() {
    ControllerReading reading;
    if (sdl.gamepad != nullptr) {
        reading.x = ScaleAxis(SDL_GameControllerGetAxis(sdl.gamepad, SDL_CONTROLLER_AXIS_LEFTX));
        reading.y = ScaleAxis(SDL_GameControllerGetAxis(sdl.gamepad, SDL_CONTROLLER_AXIS_LEFTY));
        // A gamepad's buttons 0, 1 and 2 are its A, B and X, as a DirectInput driver numbers them.
        reading.buttons[0] = SDL_GameControllerGetButton(sdl.gamepad, SDL_CONTROLLER_BUTTON_A) != 0;
        reading.buttons[1] = SDL_GameControllerGetButton(sdl.gamepad, SDL_CONTROLLER_BUTTON_B) != 0;
        reading.buttons[2] = SDL_GameControllerGetButton(sdl.gamepad, SDL_CONTROLLER_BUTTON_X) != 0;
    } else {
        reading.x = ScaleAxis(JoystickAxis(0));
        reading.y = ScaleAxis(JoystickAxis(1));
        for (int b = 0; b < 3; ++b) {
            reading.buttons[static_cast<std::size_t>(b)] = JoystickButton(b);
        }
    }
    return reading;
}

}  // namespace

std::int32_t ScaleAxis(int sdlValue) {
    if (sdlValue > kSdlAxisMax) {
        sdlValue = kSdlAxisMax;
    }
    if (sdlValue < kSdlAxisMin) {
        sdlValue = kSdlAxisMin;
    }
    // Work on the distance from the centre as a share of the way to the stop on that side
    // (SDL's range is one step longer on the negative side), in ten-thousandths.
    const std::int64_t distance = sdlValue < 0 ? -static_cast<std::int64_t>(sdlValue) : sdlValue;
    const std::int64_t stop = sdlValue < 0 ? -static_cast<std::int64_t>(kSdlAxisMin) : kSdlAxisMax;
    const std::int64_t share = distance * 10000;  // share of the way out, times stop
    std::int64_t offset = 0;                      // from the centre, in the game's units
    const std::int64_t halfRange = kAxisMax - kAxisCentre;
    if (share >= stop * kAxisSaturation) {
        offset = halfRange;
    } else if (share > stop * kAxisDeadZone) {
        // Between dead zone and saturation the rest of the stick's travel spans the whole
        // half range, rounded to the nearest unit.
        const std::int64_t numerator = (share - stop * kAxisDeadZone) * halfRange;
        const std::int64_t denominator = stop * (kAxisSaturation - kAxisDeadZone);
        offset = (numerator + denominator / 2) / denominator;
    }
    return static_cast<std::int32_t>(sdlValue < 0 ? kAxisCentre - offset : kAxisCentre + offset);
}

bool OpenController() {
    controller.wanted = true;
    if (controller.scripted) {
        controller.open = controller.scriptAttached;
        return controller.open;
    }
    if (!StartServices()) {
        return false;
    }
    if (!sdl.hookAdded) {
        AddEventHook(HandleDeviceEvent);
        sdl.hookAdded = true;
    }
    SelectDevice();
    return controller.open;
}

void CloseController() {
    controller.wanted = false;
    if (controller.scripted) {
        controller.open = false;
        return;
    }
    DropDevice(nullptr);
    if (controller.started) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        controller.started = false;
    }
}

bool AcquireController() {
    if (!controller.scripted && controller.open && !DeviceAttached()) {
        DropDevice("disconnected");
        SelectDevice();
    }
    return controller.open;
}

bool ReadController(ControllerReading* reading) {
    if (!controller.open) {
        return false;
    }
    if (controller.failReads > 0) {
        --controller.failReads;
        return false;
    }
    ControllerReading now = controller.script;
    if (!controller.scripted) {
        // Poll: bring SDL's copy of the device's state up to date.
        SDL_JoystickUpdate();
        if (!DeviceAttached()) {
            return false;
        }
        now = ReadDevice();
    }
    // Like the keyboard, the controller belongs to the window in the foreground.
    *reading = window.focused ? now : ControllerReading{};
    return true;
}

void ScriptController(bool enabled) {
    if (enabled && !controller.scripted) {
        DropDevice(nullptr);
    }
    controller.scripted = enabled;
    controller.scriptAttached = false;
    controller.script = ControllerReading{};
    controller.open = false;
}

void ScriptControllerAttached(bool attached) {
    controller.scriptAttached = attached;
    if (controller.scripted && controller.wanted) {
        controller.open = attached;
    }
}

namespace controller_testing {

int AttachVirtualController(bool gamepad, const char* name) {
    // The test's own hold on the services, so that closing the game's controller leaves the
    // virtual devices in place.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        return -1;
    }
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.name = name;
    if (gamepad) {
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    } else {
        desc.type = SDL_JOYSTICK_TYPE_FLIGHT_STICK;
        desc.naxes = 2;
        desc.nbuttons = 4;
    }
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        return -1;
    }
    // Setting a virtual device's values needs a handle of its own.
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (joystick == nullptr) {
        SDL_JoystickDetachVirtual(index);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        return -1;
    }
    const int id = SDL_JoystickInstanceID(joystick);
    sdl.virtualDevices[id] = joystick;
    return id;
}

void SetVirtualAxis(int id, int axis, int value) {
    const auto it = sdl.virtualDevices.find(id);
    if (it != sdl.virtualDevices.end()) {
        SDL_JoystickSetVirtualAxis(it->second, axis, static_cast<Sint16>(value));
    }
}

void SetVirtualButton(int id, int button, bool down) {
    const auto it = sdl.virtualDevices.find(id);
    if (it != sdl.virtualDevices.end()) {
        SDL_JoystickSetVirtualButton(it->second, button, down ? 1 : 0);
    }
}

void DetachVirtualController(int id) {
    const auto it = sdl.virtualDevices.find(id);
    if (it == sdl.virtualDevices.end()) {
        return;
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
    SDL_JoystickClose(it->second);
    sdl.virtualDevices.erase(it);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

}  // namespace controller_testing

}  // namespace platform
