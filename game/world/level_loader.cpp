#include "game/world/level_loader.h"

#include <algorithm>
#include <cstdio>
#include <optional>

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
    const std::string mapPath = stem + ".map";
    std::string why;
    const auto map = common::ReadFileBytes(mapPath, common::kMapBytes + 1, &why);
    if (!map) {
        *error = why;
        return false;
    }
    for (const std::string& problem : common::CheckLevelMap(*map, mapPath)) {
        Warn(problem);
    }
    records.mapData.assign(common::kMapBytes, 0);
    const std::size_t mapBytes = std::min<std::size_t>(map->size(), common::kMapBytes);
    std::copy(map->begin(), map->begin() + static_cast<std::ptrdiff_t>(mapBytes), records.mapData.begin());
    records.mapLength = common::kMapBytes;

    // The object kinds, numbered by their line in the file.
    const std::string kindsPath = (platform::DataFolder() / common::kObjectKindsFileName).string();
    const auto kindsText = ReadText(kindsPath, &why);
    if (!kindsText) {
        *error = why;
        return false;
    }
    const common::ObjectKindsReadResult kinds = common::ParseObjectKinds(*kindsText, kindsPath);
    for (const common::LineDiagnostic& d : kinds.diagnostics) {
        Warn(d.message);
    }
    for (const common::ObjectKind& kind : kinds.kinds) {
        if (kind.refNum > kMaxObjectKinds) {
            Warn(kindsPath + ": line " + std::to_string(kind.refNum) + ": more than " +
                 std::to_string(kMaxObjectKinds) + " kinds; \"" + kind.name + "\" skipped");
            continue;
        }
        LoadObjectSprite(kind.name, kind.refNum);
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
    const std::string objectsPath = stem + ".dat";
    const auto objectsText = ReadText(objectsPath, &why);
    if (!objectsText) {
        *error = why;
        return false;
    }
    const common::PlacedObjectsReadResult placed = common::ParsePlacedObjects(*objectsText, objectsPath);
    for (const common::LineDiagnostic& d : placed.diagnostics) {
        Warn(d.message);
    }
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
    }
    return true;
}

}  // namespace world
