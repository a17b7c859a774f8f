// Inside the platform layer only: services that need the raw SDL events (the keyboard and the
// controllers) register here and see every event the message pump takes.
#pragma once

#include <SDL.h>

#include <functional>

namespace platform {

void AddEventHook(std::function<void(const SDL_Event&)> hook);

}  // namespace platform
