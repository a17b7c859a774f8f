// The game started headless, once per test process: dummy video, the window, the device, the
// fonts and textures, as the real start-up makes them, reading the data the build generated
// into the program folder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace test_support {

// The program folder the build laid out (both programs and the generated data).
std::filesystem::path ProgramFolder();

// Runs the game's start-up on first call; true when it succeeded.
bool StartHeadlessGame();

// Checks Alt+Enter on a screen, given one iteration of its loop (the scripted keyboard on):
// the window switches at the message pump and back again, frames go on being presented, and
// the Return never shows in keyState, neither while it is held after Alt is let go nor at its
// release; a Return pressed afterwards does show.
void ExpectAltEnterSwitchesTheWindow(const std::function<void()>& frame);
// A new empty folder of this test program's own below the system's temporary folder
// ("starwake-<name>-<process id>"), emptied first if an earlier run left it.
std::filesystem::path ScratchFolder(const std::string& name);

}  // namespace test_support
