// The names the desktop knows the two programs by: their desktop entries, their icons and the
// AppStream component carry them, and the launcher gives its own to the window system.
#pragma once

#include <string_view>

namespace common {

inline constexpr std::string_view kGameAppId = "org.starwake.Corvane";
inline constexpr std::string_view kLauncherAppId = "org.starwake.CorvaneConfig";

// The icon sizes drawn for each program, in pixels, and the folder below the data folder where
// they lie as the desktop's icon theme lays them out: hicolor/<n>x<n>/apps/<id>.png.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
inline constexpr std::string_view kIconFolder = "icons";

}  // namespace common
