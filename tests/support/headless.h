// The game started headless, once per test process: dummy video, the window, the device, the
// fonts and textures, as the real start-up makes them, reading the data the build generated
// into the program folder.
#pragma once

#include <filesystem>
#include <string>

namespace test_support {

// The program folder the build laid out (both programs and the generated data).
std::filesystem::path ProgramFolder();

// Runs the game's start-up on first call; true when it succeeded.
bool StartHeadlessGame();

// A new empty folder of this test program's own below the system's temporary folder
// ("starwake-<name>-<process id>"), emptied first if an earlier run left it.
std::filesystem::path ScratchFolder(const std::string& name);

}  // namespace test_support
