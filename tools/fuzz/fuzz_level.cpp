// The level files as the game loads them: the tile map, objects.dat (with a sprite load for
// every kind that names one) and the level's placed objects, built into the world.
// Input: the three files in that order, cut at kFileMarker lines.
#include <filesystem>
#include <string>

#include "game/graphics/sprites.h"
#include "game/world/level_loader.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Sprites are looked up in a folder that holds none: every load fails quickly, as in a
    // program folder without them.
    static const bool started = [] {
        const auto none = std::filesystem::temp_directory_path() / "starwake-fuzz-no-data";
        platform::app.programFolder = none;
        platform::app.dataFolder = none;
        return true;
    }();
    (void)started;
    const auto files = fuzz::SplitFiles(data, size, 3);
    world::LevelFileBytes level;
    level.mapPath = "maps/Level1.map";
    level.map = files[0];
    level.kindsPath = "objects.dat";
    level.kinds = fuzz::Text(files[1]);
    level.objectsPath = "maps/Level1.dat";
    level.objects = fuzz::Text(files[2]);
    std::string error;
    world::ClearWorld();
    if (world::LoadLevelFromBytes(level, &error)) {
        FUZZ_REQUIRE(world::records.mapData.size() == static_cast<std::size_t>(world::records.mapLength));
        for (const auto& object : world::records.colObjects) {
            FUZZ_REQUIRE(world::records.colObjRefs.Find(object->name) != nullptr);
        }
    } else {
        FUZZ_REQUIRE(!error.empty());
    }
    world::ClearWorld();
    graphics::ClearTexturePool();
    return 0;
}
