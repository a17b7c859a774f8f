// The whole data set, made by independent jobs spread over a few threads. Every job draws its
// chance from its own named stream and the results are gathered in a fixed order, so the set is
// the same bytes whatever the number of threads.
#pragma once

#include <vector>

#include "common/level_files.h"
#include "tools/assetgen/asset_set.h"
#include "tools/assetgen/levels.h"

namespace assetgen {

struct GeneratedSet {
    std::vector<Picture> pictures;            // every bitmap, in a fixed order
    std::vector<DataFile> files;              // everything else
    std::vector<common::ObjectKind> kinds;    // objects.dat
    std::vector<Level> levels;                // for the contact sheets
};

GeneratedSet GenerateAll(int threads);

}  // namespace assetgen
