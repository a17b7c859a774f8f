#include "common/player_files.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <system_error>

#include "common/file_io.h"
#include "common/level_files.h"
#include "common/scores_file.h"

namespace common {

namespace {

namespace fs = std::filesystem;

// The shipped Config.txt and Scores.dat are a few hundred bytes; a copy never needs more.
constexpr std::size_t kMaxSeedBytes = 1 << 20;

bool HoldsData(const fs::path& folder) {
    std::error_code code;
    return fs::is_regular_file(folder / kObjectKindsFileName, code);
}

// An XDG folder: the variable when it names an absolute path, else home followed by fallback.
// Nothing when neither gives an absolute path.
std::optional<fs::path> BaseFolder(const std::string& variable, const std::string& home,
                                   const char* fallback) {
    if (!variable.empty() && fs::path(variable).is_absolute()) {
        return fs::path(variable);
    }
    if (!home.empty() && fs::path(home).is_absolute()) {
        return fs::path(home) / fallback;
    }
    return std::nullopt;
}

std::string OnlyThisRun(const fs::path& dataFile) {
    return "reading " + dataFile.string() + " and keeping changes only until the program ends";
}

// The player's copy of dataFile in folder, copied from dataFile when it is missing there.
PlayerFile PlayerCopy(const fs::path& dataFile, const fs::path& folder, std::vector<std::string>& notes) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        notes.push_back(folder.string() + ": cannot make the folder (" + code.message() + "); " +
                        OnlyThisRun(dataFile));
        return {dataFile, {}};
    }
    const fs::path target = folder / dataFile.filename();
    if (fs::symlink_status(target, code).type() != fs::file_type::not_found) {
        // There already: the player's, whatever it holds (its reader names what is wrong).
        return {target, target};
    }
    std::string error;
    const auto bytes = ReadFileBytes(dataFile, kMaxSeedBytes, &error);
    if (!bytes) {
        // Nothing to copy: the reader falls back on its defaults and the first save makes the file.
        return {target, target};
    }
    if (!WriteFileAtomically(target, *bytes, &error)) {
        notes.push_back(error + "; " + OnlyThisRun(dataFile));
        return {dataFile, {}};
    }
    return {target, target};
}

std::string Shown(const PlayerFile& file) {
    return file.writeTo.empty() ? file.readFrom.string() + " (read only)" : file.writeTo.string();
}

}  // namespace

DataLocation FindDataFolder(const fs::path& programFolder) {
    if (HoldsData(programFolder)) {
        return {programFolder, false};
    }
    const fs::path installed = (programFolder / STARWAKE_DATA_FROM_BINARIES).lexically_normal();
    if (HoldsData(installed)) {
        return {installed, true};
    }
    return {programFolder, false};
}

PlayerEnvironment ProcessEnvironment() {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value == nullptr ? "" : value);
    };
    PlayerEnvironment environment{variable("HOME"), variable("XDG_CONFIG_HOME"),
                                  variable("XDG_DATA_HOME")};
    if (environment.home.empty()) {
        passwd entry{};
        passwd* found = nullptr;
        char buffer[4096];
        if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
            found->pw_dir != nullptr) {
            environment.home = found->pw_dir;
        }
    }
    return environment;
}

PlayerFiles ChoosePlayerFiles(const DataLocation& data, bool dataFolderWritable,
                              const PlayerEnvironment& environment) {
    PlayerFiles files;
    const fs::path dataConfig = data.folder / kConfigFileName;
    const fs::path dataScores = data.folder / kScoresFileName;
    if (!data.installed && dataFolderWritable) {
        files.config = {dataConfig, dataConfig};
        files.scores = {dataScores, dataScores};
        return files;
    }
    const auto configBase = BaseFolder(environment.xdgConfigHome, environment.home, ".config");
    const auto dataBase = BaseFolder(environment.xdgDataHome, environment.home, ".local/share");
    if (configBase) {
        files.config = PlayerCopy(dataConfig, *configBase / kPlayerFolderName, files.notes);
    } else {
        files.notes.push_back("neither XDG_CONFIG_HOME nor HOME names a folder; " + OnlyThisRun(dataConfig));
        files.config = {dataConfig, {}};
    }
    if (dataBase) {
        files.scores = PlayerCopy(dataScores, *dataBase / kPlayerFolderName, files.notes);
    } else {
        files.notes.push_back("neither XDG_DATA_HOME nor HOME names a folder; " + OnlyThisRun(dataScores));
        files.scores = {dataScores, {}};
    }
    return files;
}

PlayerFiles FindPlayerFiles(const fs::path& programFolder) {
    const DataLocation data = FindDataFolder(programFolder);
    const bool writable = ::access(data.folder.c_str(), W_OK) == 0;
    return ChoosePlayerFiles(data, writable, ProcessEnvironment());
}

std::string DescribePlayerFiles(const PlayerFiles& files) {
    return "keys in " + Shown(files.config) + ", high scores in " + Shown(files.scores);
}

}  // namespace common
