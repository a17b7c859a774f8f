// File names read out of data files (a model's texture, an object kind's sprite): they name
// files inside the program folder and nothing else, however the file was edited.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace common {

// The file that name stands for in folder, with "\" taken as a folder separator. Nothing,
// with *problem quoting the name and saying why, for an empty name, a name with a control
// character, an absolute path or drive, a ".." step, or a name whose resolved path (links
// followed) lies outside folder. The file itself need not exist.
std::optional<std::filesystem::path> DataFilePath(const std::filesystem::path& folder,
                                                  std::string_view name, std::string* problem);

// The same for many names in one folder (a level's sprites, a model's textures): the folder
// itself is resolved once, when made.
class DataFileNames {
public:
    explicit DataFileNames(const std::filesystem::path& folder);
    std::optional<std::filesystem::path> Path(std::string_view name, std::string* problem) const;

private:
    std::filesystem::path folder_;  // as given, for the messages
    std::filesystem::path root_;    // absolute, links followed
    std::string rootProblem_;       // why the folder could not be resolved, if it could not
};

}  // namespace common
