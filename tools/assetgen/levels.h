// objects.dat and the 24 levels: each level's 20 x 20 tile map and its placed objects, built
// from a table that sets the difficulty curve (rocks and coins first, then mines, scouts,
// raiders and the mothership) and the look the level's fog and shadows call for.
#pragma once

#include <cstdint>
#include <vector>

#include "common/level_files.h"
#include "tools/assetgen/asset_set.h"

namespace assetgen {

// Behaviour codes the levels use.
inline constexpr int kTypeRock = 1;
inline constexpr int kTypeScout = 4;
inline constexpr int kTypeMeshObject = 6;
inline constexpr int kTypeRaider = 7;
inline constexpr int kTypeCoin = 8;
inline constexpr int kTypeMine = 10;
inline constexpr int kTypeBoss = 12;

// The ship's point at the start of every level, in world pixels, and how far objects keep
// from it.
inline constexpr double kShipStartX = 2960.0;
inline constexpr double kShipStartY = 2660.0;
inline constexpr double kStartClearance = 700.0;
inline constexpr double kEnemyStartClearance = 1300.0;
// Object centres stay this far inside the world's edges.
inline constexpr double kWorldMargin = 160.0;

struct Level {
    int number = 0;
    std::vector<std::uint8_t> map;                // 400 tile numbers
    std::vector<common::PlacedObject> objects;    // in file order
};

std::vector<common::ObjectKind> MakeObjectKinds();
std::vector<Level> MakeLevels(const std::vector<common::ObjectKind>& kinds);
// objects.dat and every level's .map and .dat file.
std::vector<DataFile> MakeLevelFiles(const std::vector<common::ObjectKind>& kinds,
                                     const std::vector<Level>& levels);

// Shortest distance between two world points on the wrapping world.
double WrappedDistance(double ax, double ay, double bx, double by);

}  // namespace assetgen
