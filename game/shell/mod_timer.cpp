#include "game/shell/mod_timer.h"

namespace shell {

FrameTimer frameTimer;

void UpdateFrameTimer() {
    // The first call closes a window at once, so fps is at least 1 from the first frame on.
    // The clock counts from program start: a first frame within 250 ms of it would otherwise
    // leave fps at 0 and the speed factor infinite.
    if (frameTimer.fpsWindowStart == 0 ||
        platform::GetTickCount() - frameTimer.fpsWindowStart >= 250) {
        frameTimer.fps = frameTimer.fpsFrameCount * 4 + 1;
        frameTimer.fpsFrameCount = 0;
        frameTimer.fpsWindowStart = platform::GetTickCount();
    } else {
        ++frameTimer.fpsFrameCount;
    }
}

}  // namespace shell
