#include "platform/frame_pacer.h"

#include <chrono>
#include <cmath>

#include "platform/clock.h"
#include "platform/window.h"

namespace platform {

FramePacerState framePacer;

namespace {

double RealMilliseconds() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

bool DisplayPacesItself() {
    return window.vsync && window.refreshRate >= 59 && window.refreshRate <= 61;
}

void PaceFrame() {
    if (!framePacer.capped || DisplayPacesItself()) {
        return;
    }
    const double period = 1000.0 / kFramesPerSecond;
    const double now = framePacer.now ? framePacer.now() : RealMilliseconds();
    if (framePacer.nextFrameAt == 0 || now > framePacer.nextFrameAt + period) {
        // First frame, or far behind (a slow frame, a pause): start the schedule afresh.
        framePacer.nextFrameAt = now + period;
        return;
    }
    const double wait = framePacer.nextFrameAt - now;
    if (wait > 0) {
        if (framePacer.sleep) {
            framePacer.sleep(wait);
        } else {
            SleepMilliseconds(wait);
        }
    }
    framePacer.nextFrameAt += period;
}

}  // namespace platform
