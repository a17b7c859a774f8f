// The frame-rate estimate and the speed factor every motion of the game is multiplied by.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace shell {

struct FrameTimer {
    std::int32_t fps = 0;                // estimate; 0 until the first game frame
    platform::Tick fpsWindowStart = 0;   // tick at which the current counting window began
    std::int32_t fpsFrameCount = 0;      // frames counted in the current window
    float frameScale = 1.0f;             // 60 / fps: 1.0 at 60 frames per second
};
extern FrameTimer frameTimer;

// Counting windows of at least 250 ms: the frame that closes one sets fps to four times the
// frames counted in it, plus one (so fps is at least 1 and frameScale stays finite).
void UpdateFrameTimer();

}  // namespace shell
