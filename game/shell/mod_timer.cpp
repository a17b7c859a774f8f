#include "game/shell/mod_timer.h"

namespace shell {

FrameTimer frameTimer;

void UpdateFrameTimer() {
    if (platform::GetTickCount() - frameTimer.fpsWindowStart >= 250) {
        frameTimer.fps = frameTimer.fpsFrameCount * 4 + 1;
        frameTimer.fpsFrameCount = 0;
        frameTimer.fpsWindowStart = platform::GetTickCount();
    } else {
        ++frameTimer.fpsFrameCount;
    }
}

}  // namespace shell
