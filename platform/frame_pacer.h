// Presents at most 60 frames a second. Every motion of the game is scaled by 60 / fps and every
// position is stored rounded to whole pixels, so slow things stand still at high frame rates
// and run fast at 144 Hz; the game keeps time the way its arithmetic expects by never
// presenting faster than 60 Hz. A 60 Hz display with vsync paces itself; anything else waits
// here, asleep for the wait, on a fixed schedule so that late wake-ups do not add up.
#pragma once

#include <functional>

namespace platform {

inline constexpr double kFramesPerSecond = 60.0;

struct FramePacerState {
    bool capped = true;            // false for measurements (--uncapped, --timedemo)
    double nextFrameAt = 0;        // real milliseconds at which the next frame may show
    std::function<double()> now;   // real milliseconds; replaced in tests
    std::function<void(double)> sleep;  // sleeps that many milliseconds; replaced in tests
};
extern FramePacerState framePacer;

// True when the display already holds presentation to about 60 Hz.
bool DisplayPacesItself();

// Waits until the next frame's slot when capped and the display does not pace itself.
void PaceFrame();

}  // namespace platform
