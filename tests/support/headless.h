// The game started headless, once per test process: dummy video, the window, the device, the
// fonts and textures, as the real start-up makes them, reading the data the build generated
// into the program folder.
#pragma once

#include <filesystem>

namespace test_support {

// The program folder the build laid out (both programs and the generated data).
std::filesystem::path ProgramFolder();

// Runs the game's start-up on first call; true when it succeeded.
bool StartHeadlessGame();

}  // namespace test_support
