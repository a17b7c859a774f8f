// The 23 map tiles (256 x 256, black = see-through to the star field): a metal plate cut into
// nine pieces (corners, edges, middle) plus two middle variants, a nebula cut the same way
// plus a middle variant, and two debris fields. Pieces of one kind join without seams in any
// arrangement that respects their sides.
#pragma once

#include <vector>

#include "tools/assetgen/asset_set.h"

namespace assetgen {

// Tile numbers by role; a map combines them (levels.cpp).
inline constexpr int kPlateFirst = 1;       // 1 .. 9: plate, rows top to bottom, NW .. SE
inline constexpr int kPlateVent = 10;       // middle piece with a vent grille
inline constexpr int kPlateHatch = 11;      // middle piece with a lit hatch
inline constexpr int kNebulaFirst = 12;     // 12 .. 20: nebula, NW .. SE
inline constexpr int kNebulaBright = 21;    // middle piece with a bright knot
inline constexpr int kDebrisFirst = 22;     // 22, 23: loose rocks on open space
inline constexpr int kTileCountMade = 23;

std::vector<Picture> MakeTiles();

}  // namespace assetgen
