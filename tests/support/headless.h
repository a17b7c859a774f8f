// The game started headless, once per test process: dummy video, the window, the device, the
// fonts and textures, as the real start-up makes them.
#pragma once

namespace test_support {

// Runs the game's start-up on first call; true when it succeeded.
bool StartHeadlessGame();

}  // namespace test_support
