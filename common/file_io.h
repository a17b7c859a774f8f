// Whole-file reads with a size limit, and writes that never leave a half-written file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <string>
#include <vector>

namespace common {

// Reads at most maxBytes of a file (the rest is ignored). Nothing, with *error naming the
// file, when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t maxBytes, std::string* error);

// Writes a temporary file in the same folder, flushes it to disk and renames it over the
// target, so a reader, or the file after a crash, is either the old file or the whole new one.
// False with *error naming the file and the system's reason; the old file is then untouched.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string* error);
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text,
                         std::string* error);

}  // namespace common
