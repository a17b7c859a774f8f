#include "platform/app.h"

#include <SDL.h>
#include <unistd.h>

#include <system_error>

namespace platform {

AppState app;

void SetCommandLine(int argc, char** argv) {
    app.arguments.clear();
    for (int i = 1; i < argc; ++i) {
        app.arguments.emplace_back(argv[i]);
    }
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error && argc > 0) {
        exe = std::filesystem::absolute(argv[0], error);
    }
    SetProgramFolder(exe.parent_path());
}

void SetProgramFolder(const std::filesystem::path& folder) {
    app.programFolder = folder;
    app.dataFolder = common::FindDataFolder(folder).folder;
}

std::string CommandLine() {
    std::string line;
    for (const std::string& word : app.arguments) {
        if (!line.empty()) {
            line += ' ';
        }
        line += word;
    }
    return line;
}

const std::filesystem::path& ProgramFolder() { return app.programFolder; }

const std::filesystem::path& DataFolder() { return app.dataFolder; }

bool EnterDataFolder() {
    return !app.dataFolder.empty() && ::chdir(app.dataFolder.c_str()) == 0;
}

void ChoosePlayerFiles() { app.playerFiles = common::FindPlayerFiles(app.programFolder); }

int ShowCursor(bool show) {
    app.cursorCounter += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_ShowCursor(app.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    }
    return app.cursorCounter;
}

}  // namespace platform
