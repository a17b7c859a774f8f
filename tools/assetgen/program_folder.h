// Laying out the program folder: every generated file under its name, and the player's own
// files (Config.txt, Scores.dat) only where none exists yet, since they change as people play
// and bind keys.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/scores_file.h"
#include "tools/assetgen/asset_set.h"

namespace assetgen {

// keys.txt (always written: it is data, not the player's).
DataFile MakeKeysFile();

// Writes the pictures as 24-bit bitmaps and the files as they are, making folders as needed.
// False with *error at the first failure.
bool WriteGeneratedFiles(const std::filesystem::path& folder, const std::vector<Picture>& pictures,
                         const std::vector<DataFile>& files, std::string* error);

// Config.txt with the default bindings and Scores.dat with the first table, as they ship.
std::vector<DataFile> ShippedPlayerFiles();

// Writes the shipped Config.txt and Scores.dat, each only if the folder has no such file.
// *written lists what was written.
bool WritePlayerFilesIfMissing(const std::filesystem::path& folder, std::vector<std::string>* written,
                               std::string* error);

}  // namespace assetgen
