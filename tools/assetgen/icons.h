// The programs' icons for the desktop: the fighter on a rounded tile of deep space for the game,
// and the same tile with a key cap for the launcher. Each size is drawn large and averaged down;
// the small sizes use a bolder drawing with fewer details, so they stay legible at 16 pixels.
#pragma once

#include <string_view>
#include <vector>

#include "common/image.h"
#include "tools/assetgen/asset_set.h"

namespace assetgen {

enum class IconKind { kGame, kLauncher };

// One icon, size x size pixels with alpha (transparent outside the tile).
common::Image DrawIcon(IconKind kind, int size);

// Every icon as a PNG file below the program folder, laid out as the desktop's icon theme is:
// icons/hicolor/<n>x<n>/apps/<id>.png.
std::vector<DataFile> MakeIcons();

}  // namespace assetgen
