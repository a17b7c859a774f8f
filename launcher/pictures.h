// The dialog's two decoration pictures: bitmaps from the launcher's folder, checked for size,
// and painted stand-ins of the same size for when a file is missing or wrong, so the layout
// never changes and the dialog never shows an empty frame.
#pragma once

#include <QIcon>
#include <QImage>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// The banner above the tabs.
inline constexpr std::string_view kBannerFileName = "LauncherBanner.bmp";
inline constexpr int kBannerWidth = 385;
inline constexpr int kBannerHeight = 133;

// The picture beside the text of the "Start" tab.
inline constexpr std::string_view kSideFileName = "LauncherSide.bmp";
inline constexpr int kSideWidth = 128;
inline constexpr int kSideHeight = 256;

// The bitmap at path when it decodes and is exactly width x height; otherwise nothing, with
// *error naming the file and the fault.
std::optional<QImage> LoadPicture(const std::filesystem::path& path, int width, int height,
                                  std::string* error);

// The launcher's window icon at every size the data folder holds; empty (the desktop's own)
// when it holds none.
QIcon LauncherIcon(const std::filesystem::path& dataFolder);

// Painted stand-ins: a star field with the game's name (banner) or with a planet (side).
QImage BannerStandIn();
QImage SideStandIn();

}  // namespace launcher
