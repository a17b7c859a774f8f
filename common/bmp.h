// Windows bitmap files: the one reader the game's loaders use and the one writer the data
// generator uses. The reader trusts nothing in a header: sizes, offsets and counts are checked
// against the file before a pixel is touched.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/image.h"

namespace common {

// The largest picture the reader accepts, the largest texture side too; anything bigger is a
// damaged or hostile header. (An 8 MB file of 8192 x 8192 one-bit pixels took 650 MB to load.)
inline constexpr int kMaxBitmapSide = 4096;

// Decodes a bitmap. Uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel and 16/32-bit bit
// fields are read; every pixel comes out with alpha 0xFF, as the texture loader sees a bitmap.
// On failure returns nothing and says why in *error.
std::optional<Image> DecodeBmp(std::span<const std::uint8_t> bytes, std::string* error);

// Reads and decodes a file; the error names the file.
std::optional<Image> LoadBmpFile(const std::filesystem::path& path, std::string* error);

// Encodes a 24-bit bottom-up bitmap (alpha dropped).
std::vector<std::uint8_t> EncodeBmp24(const Image& image);

// Writes a 24-bit bitmap; false with *error on failure.
bool SaveBmp24(const std::filesystem::path& path, const Image& image, std::string* error);

}  // namespace common
