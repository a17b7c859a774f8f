#include "tools/assetgen/program_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

#include "common/bmp.h"
#include "common/config_file.h"
#include "common/file_io.h"
#include "common/keys_file.h"
#include "common/player_files.h"

namespace assetgen {

std::vector<std::uint8_t> TextBytes(const std::string& text) { return {text.begin(), text.end()}; }

DataFile MakeKeysFile() {
    return {"keys.txt", TextBytes(common::FormatKeyNames(common::KeyNamesFromScanCodeTable()))};
}

namespace {

// Writes a generated file unless it already holds these bytes (so rebuilding leaves unchanged
// files and their times alone). A temporary file renamed over the target means a reader never
// sees half a file; there is no flush to disk, since the build can always make the file again.
bool WriteIfChanged(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, std::string* error) {
    std::string ignored;
    const auto existing = common::ReadFileBytes(path, bytes.size() + 1, &ignored);
    if (existing && std::equal(existing->begin(), existing->end(), bytes.begin(), bytes.end())) {
        return true;
    }
    const std::filesystem::path temp = path.string() + ".new";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    bool ok = file != nullptr;
    if (ok) {
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        ok = std::fclose(file) == 0 && ok;
    }
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        if (error) *error = path.string() + ": cannot write (" + std::strerror(errno) + ")";
        std::remove(temp.c_str());
    }
    return ok;
}

bool MakeParent(const std::filesystem::path& path, std::string* error) {
    std::error_code code;
    std::filesystem::create_directories(path.parent_path(), code);
    if (code) {
        if (error) *error = path.parent_path().string() + ": cannot make folder (" + code.message() + ")";
        return false;
    }
    return true;
}

}  // namespace

bool WriteGeneratedFiles(const std::filesystem::path& folder, const std::vector<Picture>& pictures,
                         const std::vector<DataFile>& files, std::string* error) {
    for (const Picture& picture : pictures) {
        const std::filesystem::path path = folder / picture.fileName;
        if (!MakeParent(path, error) || !WriteIfChanged(path, common::EncodeBmp24(picture.image), error)) {
            return false;
        }
    }
    for (const DataFile& file : files) {
        const std::filesystem::path path = folder / file.fileName;
        if (!MakeParent(path, error) || !WriteIfChanged(path, file.bytes, error)) {
            return false;
        }
    }
    return true;
}

std::vector<DataFile> ShippedPlayerFiles() {
    std::array<std::string, common::kBoundActions> keys;
    for (int i = 0; i < common::kBoundActions; ++i) {
        keys[static_cast<std::size_t>(i)] = std::to_string(common::kDefaultControls.keyCodes[static_cast<std::size_t>(i)]);
    }
    return {{std::string(common::kConfigFileName),
             TextBytes(common::FormatConfig(keys, common::kDefaultControls.joystickEnabled ? 1 : 0))},
            {std::string(common::kScoresFileName), TextBytes(common::FormatScores(common::FirstScoreTable()))}};
}

bool WritePlayerFilesIfMissing(const std::filesystem::path& folder, std::vector<std::string>* written,
                               std::string* error) {
    for (const DataFile& file : ShippedPlayerFiles()) {
        std::error_code code;
        if (std::filesystem::exists(folder / file.fileName, code)) {
            continue;
        }
        if (!common::WriteFileAtomically(folder / file.fileName, file.bytes, error)) {
            return false;
        }
        if (written) written->push_back(file.fileName);
    }
    return true;
}

}  // namespace assetgen
