// Where the programs find their data and where the player's own files (Config.txt, Scores.dat)
// live. A program folder that holds the data is portable: while it can be written, the player's
// files stay in it beside the programs. An installed program finds its data in
// ../share/starwake beside its binary folder, and that tree is never written: the player's files
// then live in the home folder's XDG folders, each copied from the installed one on first use.
// Both programs decide here, so they always agree.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace common {

inline constexpr std::string_view kConfigFileName = "Config.txt";
// The folder name below the XDG folders, and below share/ in an installed tree.
inline constexpr std::string_view kPlayerFolderName = "starwake";

struct DataLocation {
    std::filesystem::path folder;  // where the data files lie
    bool installed = false;        // the installed tree beside the binary folder: never written
};

// The data folder of a program that lies in programFolder: that folder itself when it holds the
// data (objects.dat), else the installed tree when that does, else the program folder again (its
// loaders then name each file that is missing).
DataLocation FindDataFolder(const std::filesystem::path& programFolder);

// The variables the choice reads, as text (empty when unset).
struct PlayerEnvironment {
    std::string home;           // HOME
    std::string xdgConfigHome;  // XDG_CONFIG_HOME
    std::string xdgDataHome;    // XDG_DATA_HOME
};

// The process's own: HOME from the password database when the variable is unset.
PlayerEnvironment ProcessEnvironment();

// One player file: where it is read from and where changes go.
struct PlayerFile {
    std::filesystem::path readFrom;  // the file to read (it may be missing)
    std::filesystem::path writeTo;   // where changes are written; empty: they last only this run
};

struct PlayerFiles {
    PlayerFile config;               // Config.txt
    PlayerFile scores;               // Scores.dat
    std::vector<std::string> notes;  // what could not be done, one line each, naming the folder
};

// The choice. A portable data folder that can be written keeps both files. Otherwise Config.txt
// lives in $XDG_CONFIG_HOME/starwake and Scores.dat in $XDG_DATA_HOME/starwake (by default
// ~/.config and ~/.local/share; a relative XDG path is ignored), each seeded with a copy of the
// data folder's file when it is missing there. Where a folder cannot be made or a copy not
// written, that file is read from the data folder and nothing is written.
PlayerFiles ChoosePlayerFiles(const DataLocation& data, bool dataFolderWritable,
                              const PlayerEnvironment& environment);

// The choice for the running program in programFolder: its data folder, whether that can be
// written, and the process environment. Seeds as ChoosePlayerFiles does.
PlayerFiles FindPlayerFiles(const std::filesystem::path& programFolder);

// One line for the player: where the two files are read and written.
std::string DescribePlayerFiles(const PlayerFiles& files);

}  // namespace common
