#include "game/world/level_loader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>

#include "common/file_io.h"
#include "common/level_files.h"
#include "common/rounding.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "platform/app.h"

namespace world {

namespace {

// Text files of a level are small; anything far larger is damaged and is read only this far.
constexpr std::size_t kMaxLevelTextBytes = 4u << 20;

std::optional<std::string> ReadText(const std::string& path, std::string* error) {
    auto bytes = common::ReadFileBytes(path, kMaxLevelTextBytes, error);
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

void Warn(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

}  // namespace

std::string LevelStem(int level) {
    return (platform::DataFolder() / "maps" / ("Level" + std::to_string(level))).string();
}

bool LoadLevel(const std::string& stem, std::string* error) {
    // The tile map: opened for reading only, at most the 400 bytes a map holds; a shorter map
    // leaves the rest empty space.
    LevelFileBytes files;
    files.mapPath = stem + ".map";
    std::string why;
    const auto map = common::ReadFileBytes(files.mapPath, common::kMapBytes + 1, &why);
    if (!map) {
        *error = why;
        return false;
    }
    files.map = *map;
    // Only the first 401 bytes are read: a longer map is reported with its own length.
    if (map->size() > common::kMapBytes) {
        std::error_code unknown;
        const std::uintmax_t size = std::filesystem::file_size(files.mapPath, unknown);
        files.mapFileBytes = unknown ? 0 : size;
    }
    files.kindsPath = (platform::DataFolder() / common::kObjectKindsFileName).string();
    const auto kindsText = ReadText(files.kindsPath, &why);
    if (!kindsText) {
        *error = why;
        return false;
    }
    files.kinds = *kindsText;
    files.objectsPath = stem + ".dat";
    const auto objectsText = ReadText(files.objectsPath, &why);
    if (!objectsText) {
        *error = why;
        return false;
    }
    files.objects = *objectsText;
    return LoadLevelFromBytes(files, error);
}

bool LoadLevelFromBytes(const LevelFileBytes& files, std::string* error) {
    const std::string& mapPath = files.mapPath;
    // The tiles are checked as far as the map goes.
    const std::size_t mapBytes = std::min<std::size_t>(files.map.size(), common::kMapBytes);
    const std::uintmax_t mapFileBytes = files.mapFileBytes != 0 ? files.mapFileBytes : files.map.size();
    for (const std::string& problem : common::CheckLevelMap(files.map.first(mapBytes), mapFileBytes, mapPath)) {
        Warn(problem);
    }
    records.mapData.assign(common::kMapBytes, 0);
    std::copy(files.map.begin(), files.map.begin() + static_cast<std::ptrdiff_t>(mapBytes), records.mapData.begin());
    records.mapLength = common::kMapBytes;

    // The object kinds, numbered by their line in the file.
    const std::string& kindsPath = files.kindsPath;
    const common::ObjectKindsReadResult kinds = common::ParseObjectKinds(files.kinds, kindsPath);
    for (const common::LineDiagnostic& d : kinds.diagnostics) {
        Warn(d.message);
    }
    const common::DataFileNames objects(platform::DataFolder() / "Objects");
    for (const common::ObjectKind& kind : kinds.kinds) {
        if (kind.refNum > kMaxObjectKinds) {
            Warn(kindsPath + ": line " + std::to_string(kind.refNum) + ": more than " +
                 std::to_string(kMaxObjectKinds) + " kinds; \"" + kind.name + "\" skipped");
            continue;
        }
        LoadObjectSprite(objects, kind.name, kind.refNum);
        records.colObjRefs.Add({kind.name, kind.refNum, kind.height, kind.width});
    }
    std::string missing;
    for (std::string_view name : kProgramKinds) {
        if (records.colObjRefs.Find(name) == nullptr) {
            missing += missing.empty() ? "" : ", ";
            missing += "\"" + std::string(name) + "\"";
        }
    }
    if (!missing.empty()) {
        *error = kindsPath + " does not define the kinds " + missing + " that the game needs";
        return false;
    }

    // The placed objects, in file order.
    const std::string& objectsPath = files.objectsPath;
    const common::PlacedObjectsReadResult placed = common::ParsePlacedObjects(files.objects, objectsPath);
    for (const common::LineDiagnostic& d : placed.diagnostics) {
        Warn(d.message);
    }
    int objectsPlaced = 0;
    for (const common::PlacedObject& p : placed.objects) {
        const cObjRef* kind = records.colObjRefs.Find(p.kind);
        if (kind == nullptr) {
            Warn(objectsPath + ": kind \"" + p.kind + "\" is not in objects.dat; object skipped");
            continue;
        }
        auto object = std::make_shared<cObject>();
        object->name = p.kind;
        const common::BoxCorner corner =
            common::PlacedObjectCorner(p, common::ObjectKind{kind->name, kind->Width, kind->Height, kind->refNum});
        object->X = corner.x;
        object->Y = corner.y;
        object->xSpeed = p.xSpeed;
        object->ySpeed = p.ySpeed;
        object->oType = p.oType;
        object->Health = p.health;
        object->Value = common::RoundToLong(10.0 * p.health);
        AddObject(std::move(object));
        ++objectsPlaced;
    }
    // Such a level would be complete at its first frame; the player should learn why.
    if (objectsPlaced == 0) {
        Warn(objectsPath + ": places no objects" +
             (files.objects.empty() ? std::string(" (the file is empty)") : " (every line of it was skipped)") +
             "; the level is complete at once");
    }
    return true;
}

}  // namespace world
