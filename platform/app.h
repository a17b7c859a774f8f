// The program itself: its folder, its command line, the mouse cursor.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

struct AppState {
    std::vector<std::string> arguments;  // the words after the program name
    std::filesystem::path programFolder;  // where the executable lies
    int cursorCounter = 0;  // display counter of ShowCursor; the cursor shows while >= 0
};
extern AppState app;

// Keeps the arguments and finds the program folder (from /proc/self/exe, else argv[0]).
void SetCommandLine(int argc, char** argv);

// The arguments joined by single blanks, as one command-line text.
std::string CommandLine();

// The folder of the running program.
const std::filesystem::path& ProgramFolder();

// Makes the program folder the current directory; false if it cannot.
bool EnterProgramFolder();

// Adds 1 (show) or subtracts 1 (hide) from the display counter and returns the new count;
// the cursor is visible while the counter is 0 or more.
int ShowCursor(bool show);

}  // namespace platform
