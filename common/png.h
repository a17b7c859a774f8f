// PNG files for pictures meant for people and for golden images in tests: 8-bit RGB or RGBA,
// written and read by this one module (not a general decoder).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/image.h"

namespace common {

// Encodes as 8-bit RGBA when withAlpha, else RGB.
std::vector<std::uint8_t> EncodePng(const Image& image, bool withAlpha);
bool SavePng(const std::filesystem::path& path, const Image& image, bool withAlpha,
             std::string* error);

// Decodes 8-bit grey, grey+alpha, RGB or RGBA without interlacing; RGB and grey come out opaque.
std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes, std::string* error);
std::optional<Image> LoadPngFile(const std::filesystem::path& path, std::string* error);

}  // namespace common
