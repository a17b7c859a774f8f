// The program itself: its folder and its data's, its command line, the player's files, the mouse
// cursor.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/player_files.h"

namespace platform {

struct AppState {
    std::vector<std::string> arguments;  // the words after the program name
    std::filesystem::path programFolder;  // where the executable lies
    std::filesystem::path dataFolder;     // where the data lies: the program folder or the installed tree
    common::PlayerFiles playerFiles;      // where Config.txt and Scores.dat are read and written
    int cursorCounter = 0;  // display counter of ShowCursor; the cursor shows while >= 0
};
extern AppState app;

// Keeps the arguments and finds the program folder (from /proc/self/exe, else argv[0]) and with
// it the data folder.
void SetCommandLine(int argc, char** argv);

// Takes folder as the program folder and finds the data folder from it.
void SetProgramFolder(const std::filesystem::path& folder);

// The arguments joined by single blanks, as one command-line text.
std::string CommandLine();

// The folder of the running program.
const std::filesystem::path& ProgramFolder();

// The folder every data file is read from.
const std::filesystem::path& DataFolder();

// Makes the data folder the current directory; false if it cannot.
bool EnterDataFolder();

// Chooses where the player's files are (seeding them on first use) and keeps the choice in
// app.playerFiles.
void ChoosePlayerFiles();

// Adds 1 (show) or subtracts 1 (hide) from the display counter and returns the new count;
// the cursor is visible while the counter is 0 or more.
int ShowCursor(bool show);

}  // namespace platform
