// The game's device: created once at start-up, its fixed states and matrices, the two calls
// that open and close every frame, and the release at exit.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/device.h"

namespace graphics {

struct Dxgfx {
    bool dx = false;         // the video service (the root object) started
    bool hasDevice = false;  // the device was created
    platform::PresentParams presentParams;  // kept for device resets
    platform::Matrix matWorld;              // identity
    platform::Matrix matView;               // look-at from (0, 0, 1) to the origin
    std::function<void()> frameEnded;       // told after every presented frame (replays)
};
extern Dxgfx dxgfx;

// A device call failed where drawing cannot go on: what failed, and the device's result code.
class DeviceError : public std::runtime_error {
public:
    DeviceError(const std::string& what, std::int32_t resultCode) : std::runtime_error(what), code(resultCode) {}
    std::int32_t code;
};

// Creates the device for the main window and sets its fixed states, the meshes, the sprite
// renderer and the empty pools. Shows a message and returns without a device on failure.
void InitD3D();

// The fixed states, matrices and a new sprite renderer again, after a device reset.
void SetupRenderStates();

// Clears target and depth and opens the scene. Throws DeviceError on failure.
void BeginFrame();

// Closes the scene (DeviceError when it cannot) and presents it; a failed presentation drops
// the frame.
void EndFrame();

// Releases textures, fonts and the device.
void ShutdownGraphics();

platform::Vector3 MakeVector(float x, float y, float z);

}  // namespace graphics
