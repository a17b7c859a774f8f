// What the generator makes, before it is written: pictures (written as 24-bit bitmaps and shown
// on the contact sheet) and other files as bytes, each under its name in the program folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/image.h"

namespace assetgen {

struct Picture {
    std::string fileName;  // below the program folder, "/" separated, exact case
    common::Image image;
    // Colour key the game loads it with (shown on the contact sheet as a checkerboard), or 0.
    std::uint32_t key = 0;
};

struct DataFile {
    std::string fileName;  // below the program folder
    std::vector<std::uint8_t> bytes;
};

// The colour keys the game's loaders use.
inline constexpr std::uint32_t kKeyBlack = 0xFF000000u;
inline constexpr std::uint32_t kKeyWhite = 0xFFFFFFFFu;
inline constexpr std::uint32_t kKeyYellow = 0xFFFFFF00u;

std::vector<std::uint8_t> TextBytes(const std::string& text);

}  // namespace assetgen
