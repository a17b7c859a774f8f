#include "game/world/level_assets.h"

#include <cstdio>

#include "common/data_paths.h"
#include "common/level_files.h"
#include "common/text.h"
#include "game/graphics/sprites.h"
#include "game/world/records.h"
#include "platform/app.h"

namespace world {

LevelAssets assets;

namespace {

std::int32_t Load(const std::string& relativePath, std::uint32_t key) {
    return graphics::LoadTextureIntoPool((platform::DataFolder() / relativePath).string(), key);
}

}  // namespace

bool NamesSprite(std::string_view name) {
    for (std::size_t i = 0; i + 4 <= name.size(); ++i) {
        if (name[i] == '.' && (name[i + 1] | 0x20) == 'b' && (name[i + 2] | 0x20) == 'm' &&
            (name[i + 3] | 0x20) == 'p') {
            return true;
        }
    }
    return false;
}

void LoadTextures() {
    assets.logoTexture = Load("Logo.bmp", kKeyYellow);
    assets.healthTexture = Load("Health.bmp", 0);
    assets.shipTexture = Load("overheadship.bmp", kKeyWhite);
    assets.leftShiftTexture = Load("leftshift.bmp", kKeyWhite);
    assets.rightShiftTexture = Load("rightshift.bmp", kKeyWhite);
    assets.radarTexture = Load("radar.bmp", 0);
    assets.particleTexture = Load("Particle.bmp", kKeyWhite);
    assets.shieldTexture = Load("Shield.bmp", 0);
    assets.fogTexture = Load("Fog01.bmp", 0);
    assets.menuItemsTexture = Load("MenuItems.bmp", kKeyWhite);
    assets.gameItemsTexture = Load("GameItems.bmp", kKeyWhite);
}

void LoadExplosionFrames() {
    for (int frame = 1; frame <= 15; ++frame) {
        assets.explosionTextures[static_cast<std::size_t>(frame)] =
            Load("Objects/Explosion/" + common::TwoDigits(frame) + ".bmp", kKeyNone);
    }
}

void LoadTiles() {
    for (int tile = 1; tile <= common::kTileKinds; ++tile) {
        records.tileTextures[static_cast<std::size_t>(tile)] = Load(common::TileFileName(tile), kKeyBlack);
    }
}

void LoadObjectSprite(const common::DataFileNames& objects, const std::string& name, std::int32_t index) {
    if (!NamesSprite(name) || index < 0 || index > kMaxObjectKinds) {
        return;
    }
    // A kind name is a file inside Objects/, never a path out of it.
    std::string problem;
    const auto file = objects.Path(name, &problem);
    if (!file) {
        std::fprintf(stderr, "objects.dat: kind %s; no sprite\n", problem.c_str());
        return;
    }
    records.objectTextures[static_cast<std::size_t>(index)] = graphics::LoadTextureIntoPool(file->string(), kKeyBlack);
}

}  // namespace world
