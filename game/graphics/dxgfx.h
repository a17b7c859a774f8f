// The game's device: created once at start-up, its fixed states and matrices, the two calls
// that open and close every frame, and the release at exit.
#pragma once

#include <functional>

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

// Creates the device for the main window and sets its fixed states, the meshes, the sprite
// renderer and the empty pools. Shows a message and returns without a device on failure.
void InitD3D();

// The fixed states, matrices and a new sprite renderer again, after a device reset.
void SetupRenderStates();

// Clears target and depth and opens the scene. Throws on failure (an unhandled error).
void BeginFrame();

// Closes the scene and presents it; a failed presentation drops the frame.
void EndFrame();

// Releases textures, fonts and the device.
void ShutdownGraphics();

platform::Vector3 MakeVector(float x, float y, float z);

}  // namespace graphics
